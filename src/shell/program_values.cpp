#include "shell/program_values.h"

#include "model/url.h"

namespace arkivo {

ProgramValues& TheProgramValues() {
    static ProgramValues values;
    return values;
}

std::string ProgramValueText(std::string text) {
    return CutTo(text, 255);
}

}  // namespace arkivo
