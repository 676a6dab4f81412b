// Compiled with the core's include path only; it must fail, because the core never sees Qt.
#include <QtCore/QString>

int main() {
    return QString().size();
}
