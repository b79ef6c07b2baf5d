#include "temp_dir.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

TempDir::TempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "talvik-test-XXXXXX").string();
    if (!mkdtemp(templ.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = templ;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}
