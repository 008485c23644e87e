// The user's regional formats for dates, times and numbers.
#pragma once

#include "runtime/datetime.h"

namespace qlok {

class RegionalSettings {
  public:
    virtual ~RegionalSettings() = default;
    // The formats in force now.
    virtual RegionalFormats Formats() const = 0;
};

}  // namespace qlok
