#pragma once
// Shows the hourglass for as long as the object lives; the default cursor comes back on
// every way out, an exception included.
namespace qor::window {

class HourglassCursor {
public:
    HourglassCursor();
    ~HourglassCursor();
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};

}  // namespace qor::window
