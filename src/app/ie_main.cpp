// ArkivoIE: Arkivo for the Internet Explorer cache.

#include "app/program_start.h"

int main(int argc, char** argv) {
    return arkivo::RunProgram(arkivo::Edition::IE, argc, argv);
}
