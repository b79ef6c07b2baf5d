#include "available_com_ports.h"

#include "app_paths.h"
#include "port_names.h"

std::vector<int> AvailableComPorts() { return ListComPorts(PortsDir()); }
