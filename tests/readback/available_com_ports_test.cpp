// The dialog offers the COM links of the settings folder, not of wherever the
// program happens to run from.
#include "available_com_ports.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app_paths.h"
#include "com_setting_logic.h"
#include "port_names.h"
#include "temp_dir.h"

namespace {

TEST(AvailableComPorts, OffersTheLinksBesideTheSettingsFile)
{
    TempDir settings;
    SetSettingsDirOverride(settings.path());
    ASSERT_EQ(RegisterComLink(PortsDir(), "/dev/null", 5), 5);

    const std::vector<int> ports = AvailableComPorts();
    SetSettingsDirOverride({});

    EXPECT_NE(std::find(ports.begin(), ports.end(), 5), ports.end());
    EXPECT_TRUE(ComSettingFillTexts(5, 19200, 254, ports).portItems.contains("COM5"));
}

}  // namespace
