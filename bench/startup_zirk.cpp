// The game started as its own main() starts it, with the dialog, the box, the end and the screen replaced.

#include "fakes/fakeservices.h"
#include "firstpaint.h"
#include "form1.h"
#include "services.h"

int main(int argc, char* argv[]) {
    zirk::keepSettingsOffDisk();
    zirk::bench::FirstPaintApp app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zirk"));
    zirk::testing::FakeChooser chooser;
    zirk::testing::FakeBox box;
    zirk::testing::FakeEnd end;
    zirk::testing::FakeScreen screen;
    zirk::Form1 window({&chooser, &box, &end, &screen});
    app.watch(&window);
    window.control(zirk::Ctl::Command2)->setFocus();
    window.Form_Load();
    return app.exec();
}
