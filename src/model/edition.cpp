#include "model/edition.h"

namespace arkivo {
namespace {

Edition current = Edition::Nav;

}  // namespace

Edition CurrentEdition() {
    return current;
}

void SetEdition(Edition edition) {
    current = edition;
}

}  // namespace arkivo
