#pragma once
// The search window's sizes. They were laid out at 120 pixels per inch and are
// scaled to the screen's pixels per inch, truncated: the window opens at 630 by 479
// and can never be made smaller than 525 by 250 (at 120 pixels per inch).

namespace arkivo {

struct FormSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const FormSize&, const FormSize&) = default;
};

inline constexpr int DesignPixelsPerInch = 120;

FormSize SearchFormInitialSize(int pixelsPerInch);
FormSize SearchFormMinimumSize(int pixelsPerInch);

}  // namespace arkivo
