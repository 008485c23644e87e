// The history viewer on any file: no crash, and no line of the list holds a line end.
#include <cstdlib>

#include "fake/fake_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qlok::fake::FakeApp app;
    app.files.files["QLOK.log"].assign(reinterpret_cast<const char*>(data), size);
    app.form.List1_Click();
    for (const std::string& line : app.List()) {
        if (line.find('\r') != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
