// ArkivoNav: Arkivo for the Netscape Navigator cache.

#include "app/program_start.h"

int main(int argc, char** argv) {
    return arkivo::RunProgram(arkivo::Edition::Nav, argc, argv);
}
