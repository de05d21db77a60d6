#include "fakes/fakeframewindow.h"
#include "frame.h"

#include <QList>
#include <QPointF>
#include <QTest>

using namespace zirk;
using zirk::testing::FakeFrameWindow;
using zirk::testing::Geometry;

namespace {

// A caption button and the hidden holders of its two pictures.
struct CaptionButton {
    Ctl image;
    Ctl pressed;
    Ctl released;
};

const Geometry kDesigned{300, 450, 7545, 5895};

// The frame as the application wires it: the window runs the frame's layout, the frame drives the window.
struct Rig {
    Game home;
    FakeFrameWindow window;
    Frame frame{window, home};

    explicit Rig(Geometry start = kDesigned) : window(start) {
        window.frame = &frame;
        home.HomeWidth = 8000;
        home.HomeHeight = 6000;
        home.HomeTop = 1200;
        home.HomeLeft = 2400;
    }
    ControlState& operator[](Ctl id) { return frame.controls()[id]; }
    void layOutAt(double width, double height) {
        window.geometry.width = width;
        window.geometry.height = height;
        frame.Form_Resize();
    }
};

enum Field { Left = 1, Top = 2, Width = 4, Height = 8 };

// What the layout is allowed to change; every other field of every control must stay as the description has it.
int layoutFields(Ctl id) {
    switch (id) {
    case Control::TitlePicture: case Control::Separator: case Control::TitleText: case Control::TopLine: return Width;
    case Control::Background: return Width | Height;
    case Control::Grip: return Left | Top;
    case Control::MinimiseButton: case Control::MaximiseButton: case Control::RestoreButton: return Left;
    case Control::BottomLine: return Top | Width | Height;
    case Control::LeftLine: return Top;
    case Control::RightLine: return Left | Width | Height;
    default: return 0;
    }
}

// Names the first control whose fields outside `mayChange(id)` differ; empty when none does.
template <typename MayChange>
QString firstDifference(const FrameState& actual, const FrameState& expected, MayChange mayChange) {
    for (const ControlRow& r : kControls) {
        const ControlState& a = actual[r.id];
        const ControlState& e = expected[r.id];
        const int free = mayChange(r.id);
        if ((!(free & Left) && a.left != e.left) || (!(free & Top) && a.top != e.top) ||
            (!(free & Width) && a.width != e.width) || (!(free & Height) && a.height != e.height) ||
            a.visible != e.visible || a.picture != e.picture)
            return QString::fromLatin1(r.name);
    }
    return {};
}

QString firstDifference(const FrameState& actual, const FrameState& expected) {
    return firstDifference(actual, expected, [](Ctl) { return 0; });
}

QStringList layoutCalls() { return {"layout", "hide", "show"}; }

} // namespace

Q_DECLARE_METATYPE(CaptionButton)

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    void layoutFollowsTheWindowSize_data() {
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::addColumn<bool>("gripShown");
        QTest::addColumn<double>("backgroundHeight");
        QTest::addColumn<QPointF>("grip");
        QTest::addColumn<double>("minimiseLeft");
        QTest::addColumn<double>("maximiseLeft");
        QTest::addColumn<double>("restoreLeft");
        QTest::addColumn<double>("bottomLineEnd");
        QTest::addColumn<double>("rightLineEnd");

        QTest::newRow("as designed") << 7545.0 << 5895.0 << false << 5535.0 << QPointF(7365, 5715) << 7245.0
                                     << 6945.0 << 6645.0 << 7545.0 << 5885.0;
        QTest::newRow("as wide as the design canvas") << 11220.0 << 3180.0 << false << 2820.0 << QPointF(11040, 3000)
                                                      << 10920.0 << 10620.0 << 10320.0 << 11220.0 << 3170.0;
        QTest::newRow("grip shown: the grey lines stop at it")
            << 7545.0 << 5895.0 << true << 5535.0 << QPointF(7365, 5715) << 7245.0 << 6945.0 << 6645.0 << 7365.0
            << 5715.0;
        QTest::newRow("exactly the title bar high") << 7545.0 << 360.0 << false << 0.0 << QPointF(7365, 180)
                                                    << 7245.0 << 6945.0 << 6645.0 << 7545.0 << 350.0;
        QTest::newRow("lower than the title bar: the background keeps its height")
            << 7545.0 << 300.0 << false << 5535.0 << QPointF(7365, 120) << 7245.0 << 6945.0 << 6645.0 << 7545.0
            << 290.0;
        QTest::newRow("narrower than the caption buttons") << 600.0 << 5895.0 << false << 5535.0
                                                           << QPointF(420, 5715) << 300.0 << 0.0 << -300.0 << 600.0
                                                           << 5885.0;
        QTest::newRow("narrower than one button") << 240.0 << 5895.0 << false << 5535.0 << QPointF(60, 5715)
                                                  << -60.0 << -360.0 << -660.0 << 240.0 << 5885.0;
        QTest::newRow("tiny with the grip shown") << 240.0 << 100.0 << true << 5535.0 << QPointF(60, -80) << -60.0
                                                  << -360.0 << -660.0 << 60.0 << -80.0;
        QTest::newRow("no size at all") << 0.0 << 0.0 << false << 5535.0 << QPointF(-180, -180) << -300.0 << -600.0
                                        << -900.0 << 0.0 << -10.0;
    }
    void layoutFollowsTheWindowSize() {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(bool, gripShown);
        Rig rig;
        // A first layout at the designed size, so that a skipped step shows as keeping that layout's value.
        rig.layOutAt(7545, 5895);
        rig[Control::Grip].visible = gripShown;
        rig.window.calls.clear();
        rig.layOutAt(w, h);

        QCOMPARE(rig.window.calls, QStringList({"hide", "show"}));
        for (Ctl id : {Control::TitlePicture, Control::Separator, Control::TitleText, Control::Background})
            QCOMPARE(rig[id].width, w);
        QTEST(rig[Control::Background].height, "backgroundHeight");
        QTEST(QPointF(rig[Control::Grip].left, rig[Control::Grip].top), "grip");
        QTEST(rig[Control::MinimiseButton].left, "minimiseLeft");
        QTEST(rig[Control::MaximiseButton].left, "maximiseLeft");
        QTEST(rig[Control::RestoreButton].left, "restoreLeft");
        // L1 runs along the bottom, L2 up the left, L3 along the top, L4 down the right.
        QCOMPARE(rig[Control::BottomLine].top, h - 10);
        QCOMPARE(rig[Control::BottomLine].height, h - 10);
        QTEST(rig[Control::BottomLine].width, "bottomLineEnd");
        QCOMPARE(rig[Control::LeftLine].top, h);
        QCOMPARE(rig[Control::TopLine].width, w);
        QCOMPARE(rig[Control::RightLine].left, w - 10);
        QCOMPARE(rig[Control::RightLine].width, w - 10);
        QTEST(rig[Control::RightLine].height, "rightLineEnd");

        FrameState designed;
        designed[Control::Grip].visible = gripShown;
        const QString moved = firstDifference(rig.frame.controls(), designed, layoutFields);
        QVERIFY2(moved.isEmpty(), qPrintable(moved + " was changed by the layout"));
    }

    void layoutIsDoneWhileTheWindowIsHidden() {
        Rig rig;
        QList<double> backgroundWidths;
        rig.window.onCall = [&](const QString&) { backgroundWidths.append(rig[Control::Background].width); };
        rig.layOutAt(9000, 7000);
        QCOMPARE(rig.window.calls, QStringList({"hide", "show"}));
        QCOMPARE(backgroundWidths, QList<double>({row(Control::Background).width, 9000}));
    }

    void aMinimisedWindowIsNotLaidOut() {
        Rig rig;
        rig.layOutAt(7545, 5895);
        const FrameState before = rig.frame.controls();
        const int changes = rig.window.controlsChangedCount;
        rig.window.calls.clear();
        rig.window.isMinimised = true;

        rig.layOutAt(10000, 8000);
        QVERIFY(rig.window.calls.isEmpty());
        QCOMPARE(rig.window.controlsChangedCount, changes);
        const QString changed = firstDifference(rig.frame.controls(), before);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + " changed while minimised"));

        rig.window.isMinimised = false;
        rig.frame.Form_Resize();
        QCOMPARE(rig[Control::Background].width, 10000.0);
    }

    void theLayoutLeavesTheWindowAloneWhileTheTitleIsHidden() {
        Rig rig;
        rig[Control::TitlePicture].visible = false;
        rig.layOutAt(9000, 7000);
        QVERIFY(rig.window.calls.isEmpty());
        QCOMPARE(rig[Control::Background].width, 9000.0);
        QCOMPARE(rig[Control::Grip].top, 6820.0);
    }

    void captionButtonShowsItsPressedPictureAndActsOnRelease_data() {
        QTest::addColumn<CaptionButton>("captionButton");
        QTest::addColumn<QStringList>("releaseCalls");

        QTest::newRow("close") << CaptionButton{Control::CloseButton, Control::CloseDownPicture, Control::CloseUpPicture} << QStringList();
        QTest::newRow("minimise") << CaptionButton{Control::MinimiseButton, Control::MinimiseDownPicture, Control::MinimiseUpPicture}
                                  << QStringList({"processEvents", "minimize"});
        QTest::newRow("maximise") << CaptionButton{Control::MaximiseButton, Control::MaximiseDownPicture, Control::MaximiseUpPicture}
                                  << QStringList({"hide", "top=0", "left=0", "width=19200"}) + layoutCalls() +
                                         QStringList({"height=11100"}) + layoutCalls() + QStringList({"show"});
        QTest::newRow("restore") << CaptionButton{Control::RestoreButton, Control::RestoreDownPicture, Control::RestoreUpPicture}
                                 << QStringList({"hide", "width=8000"}) + layoutCalls() +
                                        QStringList({"height=6000"}) + layoutCalls() +
                                        QStringList({"top=1200", "left=2400", "show"});
    }
    void captionButtonShowsItsPressedPictureAndActsOnRelease() {
        QFETCH(CaptionButton, captionButton);
        const auto [button, pressed, released] = captionButton;
        Rig rig;
        Frame& f = rig.frame;
        const auto press = [&] {
            switch (button) {
            case Control::CloseButton: return f.IMG2_MouseDown();
            case Control::MinimiseButton: return f.IMG6_MouseDown();
            case Control::MaximiseButton: return f.IMG7_MouseDown();
            default: return f.IMG8_MouseDown();
            }
        };
        const auto release = [&] {
            switch (button) {
            case Control::CloseButton: return f.IMG2_MouseUp();
            case Control::MinimiseButton: return f.IMG6_MouseUp();
            case Control::MaximiseButton: return f.IMG7_MouseUp();
            default: return f.IMG8_MouseUp();
            }
        };
        const FrameState before = f.controls();
        QCOMPARE(rig[button].picture, rig[released].picture);

        press();
        QCOMPARE(rig[button].picture, rig[pressed].picture);
        QVERIFY(rig.window.calls.isEmpty());
        FrameState expected = before;
        expected[button].picture = rig[pressed].picture;
        const QString other = firstDifference(f.controls(), expected);
        QVERIFY2(other.isEmpty(), qPrintable(other + " changed on the press"));

        release();
        QCOMPARE(rig[button].picture, rig[released].picture);
        QTEST(rig.window.calls, "releaseCalls");
    }

    void minimisingPaintsTheReleasedButtonFirst() {
        Rig rig;
        Ctl shownWhileProcessing = Control::Count;
        rig.window.onCall = [&](const QString& call) {
            if (call == "processEvents")
                shownWhileProcessing = rig[Control::MinimiseButton].picture;
        };
        rig.frame.IMG6_MouseDown();
        rig.frame.IMG6_MouseUp();
        QCOMPARE(shownWhileProcessing, rig[Control::MinimiseUpPicture].picture);
        QVERIFY(rig.window.minimized());
    }

    void maximisingFillsTheScreenAboveTheTaskbarBand() {
        Rig rig;
        for (int time = 0; time < 2; ++time) {
            rig.frame.IMG7_MouseDown();
            rig.frame.IMG7_MouseUp();
            QCOMPARE(rig.window.geometry, Geometry({0, 0, 19200, 11100}));
            QVERIFY(!rig.window.minimized());
            QCOMPARE(rig[Control::Background].width, 19200.0);
            QCOMPARE(QPointF(rig[Control::Grip].left, rig[Control::Grip].top), QPointF(19020, 10920));
        }
    }

    void restoringReturnsToTheHomeGeometry_data() {
        QTest::addColumn<int>("before");
        QTest::newRow("straight away") << 0;
        QTest::newRow("after maximising") << 1;
        QTest::newRow("after the window was dragged") << 2;
        QTest::newRow("after a resize with the grip") << 3;
    }
    void restoringReturnsToTheHomeGeometry() {
        QFETCH(int, before);
        Rig rig;
        if (before == 1) {
            rig.frame.IMG7_MouseDown();
            rig.frame.IMG7_MouseUp();
        } else if (before == 2) {
            rig.window.geometry.left = 4321;
            rig.window.geometry.top = 987;
        } else if (before == 3) {
            rig.frame.IMG4_MouseDown(90, 90);
            rig.frame.IMG4_MouseMove(590, 390);
            rig.frame.IMG4_MouseUp();
        }
        rig.frame.IMG8_MouseDown();
        rig.frame.IMG8_MouseUp();
        QCOMPARE(rig.window.geometry, Geometry({2400, 1200, 8000, 6000}));
        QCOMPARE(rig[Control::Background].height, 6000.0 - 360);
        QCOMPARE(QPointF(rig[Control::Grip].left, rig[Control::Grip].top), QPointF(7820, 5820));
    }

    void titleBarAndCloseButton_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("expectedCalls");
        QTest::newRow("pressing the title picture moves the window") << 0 << QStringList({"systemMove"});
        QTest::newRow("pressing the title text moves the window") << 1 << QStringList({"systemMove"});
        QTest::newRow("double-clicking the title text does nothing") << 2 << QStringList();
        QTest::newRow("clicking close unloads") << 3 << QStringList({"unload"});
    }
    void titleBarAndCloseButton() {
        QFETCH(int, action);
        Rig rig;
        const FrameState before = rig.frame.controls();
        switch (action) {
        case 0: rig.frame.IMG1_MouseDown(); break;
        case 1: rig.frame.LBL1_MouseDown(); break;
        case 2: rig.frame.LBL1_DblClick(); break;
        default: rig.frame.IMG2_Click(); break;
        }
        QTEST(rig.window.calls, "expectedCalls");
        QCOMPARE(rig.window.geometry, kDesigned);
        const QString changed = firstDifference(rig.frame.controls(), before);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + " changed"));
    }

    void theGripRemembersWhetherItIsHeld() {
        Rig rig;
        QVERIFY(!rig.frame.Resizing.has_value());
        rig.frame.IMG4_MouseDown(90, 90);
        QCOMPARE(rig.frame.Resizing, std::optional<int>(1));
        rig.frame.IMG4_MouseMove(190, 190);
        QCOMPARE(rig.frame.Resizing, std::optional<int>(1));
        rig.frame.IMG4_MouseUp();
        QCOMPARE(rig.frame.Resizing, std::optional<int>(0));
    }

    void holdingTheGripHidesTheFramePicturesAndReleasingShowsThemAll() {
        Rig rig;
        const QList<Ctl> framePictures{Control::TitlePicture, Control::CloseButton, Control::Separator, Control::Background,
                                       Control::MinimiseButton, Control::MaximiseButton, Control::RestoreButton, Control::Icon};
        QVERIFY(!rig[Control::MinimiseButton].visible && !rig[Control::MaximiseButton].visible && !rig[Control::RestoreButton].visible);
        FrameState expected = rig.frame.controls();

        rig.frame.IMG4_MouseDown(90, 90);
        for (Ctl id : framePictures)
            expected[id].visible = false;
        QString changed = firstDifference(rig.frame.controls(), expected);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + " differs while the grip is held"));

        rig.frame.IMG4_MouseUp();
        for (Ctl id : framePictures)
            expected[id].visible = true;
        changed = firstDifference(rig.frame.controls(), expected);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + " differs after the release"));
        QVERIFY(rig.window.calls.isEmpty());
    }

    // Pointer positions are relative to the grip where it is at the time; the window moves the grip as it grows.
    void draggingTheGripResizesTheWindow_data() {
        QTest::addColumn<Geometry>("start");
        QTest::addColumn<QList<QPointF>>("moves");
        QTest::addColumn<Geometry>("expected");
        const auto sized = [](double w, double h) { return Geometry{300, 450, w, h}; };
        const auto moves = [](std::initializer_list<QPointF> points) { return QList<QPointF>(points); };

        QTest::newRow("right grows the width") << kDesigned << moves({{190, 90}}) << sized(7645, 5895);
        QTest::newRow("down grows the height") << kDesigned << moves({{90, 250}}) << sized(7545, 6055);
        QTest::newRow("left shrinks the width") << kDesigned << moves({{40, 90}}) << sized(7495, 5895);
        QTest::newRow("up shrinks the height") << kDesigned << moves({{90, -10}}) << sized(7545, 5795);
        QTest::newRow("diagonally changes both") << kDesigned << moves({{190, 30}}) << sized(7645, 5835);
        QTest::newRow("down to exactly the narrowest") << sized(3260, 5895) << moves({{-10, 90}})
                                                       << sized(3160, 5895);
        QTest::newRow("narrower than allowed is dropped")
            << sized(3200, 5895) << moves({{49, 90}}) << sized(3200, 5895);
        QTest::newRow("down to exactly the lowest") << sized(7545, 640) << moves({{90, -10}}) << sized(7545, 540);
        QTest::newRow("lower than allowed is dropped") << sized(7545, 640) << moves({{90, -11}})
                                                       << sized(7545, 640);
        QTest::newRow("a dropped width still lets the height change")
            << sized(3200, 5895) << moves({{40, 190}}) << sized(3200, 5995);
        QTest::newRow("a dropped height still lets the width change")
            << sized(7545, 640) << moves({{190, -100}}) << sized(7645, 640);
        QTest::newRow("a step past the narrowest is dropped, not clamped")
            << sized(3200, 5895) << moves({{60, 90}, {70, 90}}) << sized(3170, 5895);
        QTest::newRow("far beyond the screen") << kDesigned << moves({{30090, 20090}}) << sized(37545, 25895);
        QTest::newRow("from left of and above the grip") << kDesigned << moves({{-500, -300}}) << sized(6955, 5505);
        QTest::newRow("steps add up from the press point")
            << kDesigned << moves({{190, 90}, {190, 90}, {90, 190}}) << sized(7745, 5995);
        QTest::newRow("back at the press point after a step changes nothing more")
            << kDesigned << moves({{190, 90}, {90, 90}}) << sized(7645, 5895);
    }
    void draggingTheGripResizesTheWindow() {
        QFETCH(Geometry, start);
        QFETCH(QList<QPointF>, moves);
        Rig rig(start);
        QCOMPARE(rig.frame.minimumWidth(), 3160.0);
        QCOMPARE(rig.frame.minimumHeight(), 540.0);
        rig.frame.IMG4_MouseDown(90, 90);
        for (const QPointF& p : moves)
            rig.frame.IMG4_MouseMove(p.x(), p.y());
        rig.frame.IMG4_MouseUp();
        QTEST(rig.window.geometry, "expected");
    }

    void aGripStepSetsTheWidthBeforeTheHeightThenLetsThePlatformCatchUp_data() {
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QStringList>("expectedCalls");
        QTest::newRow("diagonal") << QPointF(190, 190)
                                  << QStringList({"width=7645", "layout", "height=5995", "layout", "processEvents"});
        QTest::newRow("diagonal back") << QPointF(-10, -10)
                                       << QStringList({"width=7445", "layout", "height=5795", "layout", "processEvents"});
        QTest::newRow("sideways") << QPointF(190, 90) << QStringList({"width=7645", "layout", "processEvents"});
        QTest::newRow("upwards") << QPointF(90, -10) << QStringList({"height=5795", "layout", "processEvents"});
    }
    void aGripStepSetsTheWidthBeforeTheHeightThenLetsThePlatformCatchUp() {
        QFETCH(QPointF, to);
        Rig rig;
        rig.frame.IMG4_MouseDown(90, 90);
        rig.frame.IMG4_MouseMove(to.x(), to.y());
        QTEST(rig.window.calls, "expectedCalls");
        QCOMPARE(rig.window.geometry.left, kDesigned.left);
        QCOMPARE(rig.window.geometry.top, kDesigned.top);
    }

    void gripMovesThatChangeNothing_data() {
        QTest::addColumn<int>("scenario");
        QTest::newRow("moving before any press") << 0;
        QTest::newRow("moving after the release") << 1;
        QTest::newRow("moving onto the press point") << 2;
        QTest::newRow("pressing and releasing without moving") << 3;
    }
    void gripMovesThatChangeNothing() {
        QFETCH(int, scenario);
        Rig rig;
        if (scenario != 0)
            rig.frame.IMG4_MouseDown(90, 90);
        if (scenario == 1 || scenario == 3)
            rig.frame.IMG4_MouseUp();
        if (scenario == 2)
            rig.frame.IMG4_MouseMove(90, 90);
        else if (scenario != 3)
            rig.frame.IMG4_MouseMove(190, 290);
        QVERIFY(rig.window.calls.isEmpty());
        QCOMPARE(rig.window.geometry, kDesigned);
    }
};

QTEST_APPLESS_MAIN(FrameTest)
#include "tst_frame.moc"
