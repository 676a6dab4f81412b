#pragma once
// The two programs share every line of code; where they behave differently the code
// consults the edition. Each program's main fixes it once; tests set it per case.

namespace arkivo {

enum class Edition {
    Nav,  // ArkivoNav: the Netscape Navigator cache
    IE,   // ArkivoIE: the Internet Explorer cache
};

Edition CurrentEdition();
void SetEdition(Edition edition);

}  // namespace arkivo
