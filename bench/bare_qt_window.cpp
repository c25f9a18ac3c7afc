// The floor under OlvaneMac's start: a bare Qt Widgets program that shows one window of the same
// size and says so on its standard error once the window's first frame is painted.
#include <QApplication>
#include <QWidget>
#include <cstdio>

namespace {

class BareWindow final : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        if (!painted_) {
            painted_ = true;
            std::fputs("Premier cadre peint\n", stderr);
        }
    }

  private:
    bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow window;
    window.resize(1100, 700);
    window.show();
    return app.exec();
}
