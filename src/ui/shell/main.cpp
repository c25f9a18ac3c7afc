#include "ui/shell/OlvaneApplication.h"

int main(int argc, char** argv) {
    return olvane::ui::runOlvaneApplication(argc, argv);
}
