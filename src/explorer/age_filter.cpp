#include "explorer/age_filter.h"

namespace arkivo {
namespace {

constexpr double FarFutureDays = 10000.0;

double SpanInDays(int amount, AgeUnit unit) {
    switch (unit) {
        case AgeUnit::Hours:
            return amount / 24.0;
        case AgeUnit::Days:
            return amount;
        case AgeUnit::Weeks:
            return amount * 7.0;
    }
    return amount;
}

}  // namespace

AgeWindow OpenAgeWindow(double now) {
    return AgeWindow{0.0, now + FarFutureDays};
}

AgeWindow AgeWindowFor(AgeChoice choice, int amount, AgeUnit unit, double now) {
    const double span = SpanInDays(amount, unit);
    switch (choice) {
        case AgeChoice::NewerThan:
            return AgeWindow{now - span, now + FarFutureDays};
        case AgeChoice::OlderThan:
            return AgeWindow{0.0, now - span};
        case AgeChoice::AllAges:
            break;
    }
    return OpenAgeWindow(now);
}

std::vector<std::string> AgeAmounts(Edition edition, AgeUnit unit) {
    if (unit == AgeUnit::Hours) {
        if (edition == Edition::Nav) {
            return {"6", "12", "18"};
        }
        return {"1", "2", "3", "6", "12", "18"};
    }
    return {"1", "2", "3", "4", "5", "6"};
}

}  // namespace arkivo
