#pragma once
// The Cache Explorer's age filter: "All ages", "Newer than" or "Older than" an
// amount of hours, days or weeks, turned into an age window of dates. An item is
// inside the window when LowerDate < Date < UpperDate, both bounds strict. The
// window is fixed at the moment the filter is set.

#include <string>
#include <vector>

#include "model/edition.h"

namespace arkivo {

enum class AgeChoice { AllAges, NewerThan, OlderThan };
enum class AgeUnit { Hours, Days, Weeks };

struct AgeWindow {
    double LowerDate = 0.0;
    double UpperDate = 0.0;

    bool Contains(double date) const { return LowerDate < date && date < UpperDate; }
};

// The open window: from 30 December 1899 to 10000 days after now.
AgeWindow OpenAgeWindow(double now);

// The window for a filter setting; amount is the number chosen in the amount list.
AgeWindow AgeWindowFor(AgeChoice choice, int amount, AgeUnit unit, double now);

// The amounts the amount list offers for a unit ("6", "12", "18" hours in ArkivoNav;
// "1", "2", "3", "6", "12", "18" hours in ArkivoIE; "1" to "6" days or weeks).
std::vector<std::string> AgeAmounts(Edition edition, AgeUnit unit);

}  // namespace arkivo
