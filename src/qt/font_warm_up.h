// The font configuration loaded on a thread of its own while the toolkit starts.
#pragma once

#include <thread>

namespace qlok::qt {

// Reading the font configuration is the longest step before the first text can be laid out,
// and nothing before that needs it; from before the application object is made until Wait, it
// runs beside the connection to the display and the loading of the toolkit's plugins.
class FontWarmUp {
  public:
    FontWarmUp();
    ~FontWarmUp() { Wait(); }
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Returns once the configuration is loaded.
    void Wait();

  private:
    std::thread thread_;
};

}  // namespace qlok::qt
