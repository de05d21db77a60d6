// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"
#include "fakes/fakeframewindow.h"
#include "frame.h"
#include "onscreen.h"
#include "texts.h"

#include <QList>
#include <QPointF>
#include <QTest>

using namespace zirk;
using zirk::testing::FakeFrameWindow;
using zirk::testing::Geometry;

namespace {

struct CaptionButton {
    FramePart button;
};

const Geometry kDesigned{300, 450, 7545, 5895};
// Where the restore button goes back to: 8000 x 6000, centred on the 19200 x 11520 screen at start-up.
const Geometry kHome{5600, 2760, 8000, 6000};

// The frame as the application wires it: the window runs the frame's layout, the frame drives the window.
struct Rig {
    FakeFrameWindow window;
    Frame frame{window, designedFrame(), QString::fromUtf8(kApplicationTitle),
                row(Control::TitleStrip).height};

    explicit Rig(Geometry start = kDesigned) : window({0, 0, kHome.width, kHome.height}) {
        window.frame = &frame;
        frame.showCentred();
        window.current = start;
        window.calls.clear();
    }
    const PartState& operator[](FramePart part) const { return frame[part]; }
    void layOutAt(double width, double height) {
        window.current.width = width;
        window.current.height = height;
        frame.relayout();
    }
};

enum Field { Left = 1, Top = 2, Width = 4, Height = 8 };

// What the layout is allowed to change; every other field of every part must stay as the design has it.
int layoutFields(FramePart part) {
    switch (part) {
    case FramePart::TitlePicture:
    case FramePart::Separator:
    case FramePart::TitleText:
    case FramePart::TopLine:
        return Width;
    case FramePart::Background:
        return Width | Height;
    case FramePart::Grip:
        return Left | Top;
    case FramePart::MinimiseButton:
    case FramePart::MaximiseButton:
    case FramePart::RestoreButton:
        return Left;
    case FramePart::BottomLine:
        return Top | Width | Height;
    case FramePart::LeftLine:
        return Top;
    case FramePart::RightLine:
        return Left | Width | Height;
    default:
        return 0;
    }
}

// Names the first part whose fields outside `mayChange(part)` differ; empty when none does.
template <typename MayChange>
QString firstDifference(const FrameParts& actual, const FrameParts& expected, MayChange mayChange) {
    for (std::size_t i = 0; i < kFramePartCount; ++i) {
        const auto part = static_cast<FramePart>(i);
        const PartState& a = actual[part];
        const PartState& e = expected[part];
        const int free = mayChange(part);
        if ((!(free & Left) && a.left != e.left) || (!(free & Top) && a.top != e.top) ||
            (!(free & Width) && a.width != e.width) || (!(free & Height) && a.height != e.height) ||
            a.visible != e.visible || a.pressed != e.pressed)
            return QStringLiteral("frame part %1").arg(i);
    }
    return {};
}

QString firstDifference(const FrameParts& actual, const FrameParts& expected) {
    return firstDifference(actual, expected, [](FramePart) { return 0; });
}

FrameParts partsOf(const Frame& frame) {
    FrameParts parts;
    for (std::size_t i = 0; i < kFramePartCount; ++i)
        parts[static_cast<FramePart>(i)] = frame[static_cast<FramePart>(i)];
    return parts;
}

QStringList layoutCalls() {
    return {"layout", "hide", "show"};
}

} // namespace

Q_DECLARE_METATYPE(CaptionButton)

class FrameTest : public QObject {
    Q_OBJECT

private slots:
    void aWindowIsKeptOnItsScreenTitleBarFirst_data() {
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QPoint>("kept");
        QTest::newRow("on the screen: left alone") << QRect(10, 30, 503, 393) << QPoint(10, 30);
        QTest::newRow("past the right and bottom after the screen shrank")
            << QRect(700, 500, 503, 393) << QPoint(297, 207);
        QTest::newRow("above and left of the screen") << QRect(-50, -30, 503, 393) << QPoint(0, 24);
        QTest::newRow("larger than the screen, centred on it")
            << QRect(-100, -50, 1000, 700) << QPoint(0, 24);
    }
    void aWindowIsKeptOnItsScreenTitleBarFirst() {
        QFETCH(QRect, window);
        // An 800 x 600 screen with a panel 24 pixels high along its top.
        QTEST(keptOnScreen(window, QRect(0, 24, 800, 576)), "kept");
    }

    void theWindowIsCentredAndRemembersWhereItEndedUp_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<double>("shift");
        QTest::addColumn<bool>("keepOnScreen");
        QTest::addColumn<QPoint>("asked");
        QTest::addColumn<QRect>("home");
        QTest::newRow("even margins") << QSize(15360, 11520) << QSize(9000, 7000) << 0.0 << false
                                      << QPoint(3180, 2260) << QRect(3180, 2260, 9000, 7000);
        QTest::newRow("odd margins round down") << QSize(1301, 1001) << QSize(1000, 1000) << 0.0 << false
                                                << QPoint(150, 0) << QRect(150, 0, 1000, 1000);
        QTest::newRow("as large as the screen")
            << QSize(900, 700) << QSize(900, 700) << 0.0 << false << QPoint(0, 0) << QRect(0, 0, 900, 700);
        QTest::newRow("larger than the screen rounds up")
            << QSize(1000, 1000) << QSize(1301, 1001) << 0.0 << false << QPoint(-150, 0)
            << QRect(-150, 0, 1301, 1001);
        QTest::newRow("far larger") << QSize(1000, 1000) << QSize(4001, 3000) << 0.0 << false
                                    << QPoint(-1500, -1000) << QRect(-1500, -1000, 4001, 3000);
        QTest::newRow("moved by the window system") << QSize(1000, 1000) << QSize(1301, 1201) << 45.0 << false
                                                    << QPoint(-150, -100) << QRect(-105, -55, 1301, 1201);
        QTest::newRow("pulled back and shrunk") << QSize(1000, 1000) << QSize(1301, 1201) << 0.0 << true
                                                << QPoint(-150, -100) << QRect(0, 0, 1000, 1000);
    }
    void theWindowIsCentredAndRemembersWhereItEndedUp() {
        QFETCH(QSize, screen);
        QFETCH(QSize, window);
        QFETCH(double, shift);
        QFETCH(bool, keepOnScreen);
        QFETCH(QPoint, asked);
        QFETCH(QRect, home);
        FakeFrameWindow fake({0, 0, double(window.width()), double(window.height())});
        fake.screenW = screen.width();
        fake.screenH = screen.height();
        // Like a real window system, it may place the window elsewhere than asked, or pull it back on screen.
        const auto place = [&](double& position, double& extent, double screenExtent) {
            if (keepOnScreen && position < 0) {
                position = 0;
                extent = std::min(extent, screenExtent);
            }
            position += shift;
        };
        fake.onCall = [&](const QString& call) {
            if (call.startsWith(QLatin1String("left=")))
                place(fake.current.left, fake.current.width, fake.screenW);
            else if (call.startsWith(QLatin1String("top=")))
                place(fake.current.top, fake.current.height, fake.screenH);
        };
        Frame frame{fake, designedFrame(), QString::fromUtf8(kApplicationTitle), 360};
        frame.showCentred();
        QCOMPARE(fake.calls, QStringList({QStringLiteral("left=%1").arg(asked.x()),
                                          QStringLiteral("top=%1").arg(asked.y()), QStringLiteral("shown")}));
        const WindowGeometry& h = frame.home();
        QCOMPARE(QRectF(h.left, h.top, h.width, h.height), QRectF(home));
    }

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
        QTest::newRow("as wide as the design canvas")
            << 11220.0 << 3180.0 << false << 2820.0 << QPointF(11040, 3000) << 10920.0 << 10620.0 << 10320.0
            << 11220.0 << 3170.0;
        QTest::newRow("grip shown: the grey lines stop at it")
            << 7545.0 << 5895.0 << true << 5535.0 << QPointF(7365, 5715) << 7245.0 << 6945.0 << 6645.0
            << 7365.0 << 5715.0;
        QTest::newRow("exactly the title bar high") << 7545.0 << 360.0 << false << 0.0 << QPointF(7365, 180)
                                                    << 7245.0 << 6945.0 << 6645.0 << 7545.0 << 350.0;
        QTest::newRow("lower than the title bar: the background keeps its height")
            << 7545.0 << 300.0 << false << 5535.0 << QPointF(7365, 120) << 7245.0 << 6945.0 << 6645.0
            << 7545.0 << 290.0;
        QTest::newRow("narrower than the caption buttons")
            << 600.0 << 5895.0 << false << 5535.0 << QPointF(420, 5715) << 300.0 << 0.0 << -300.0 << 600.0
            << 5885.0;
        QTest::newRow("narrower than one button") << 240.0 << 5895.0 << false << 5535.0 << QPointF(60, 5715)
                                                  << -60.0 << -360.0 << -660.0 << 240.0 << 5885.0;
        QTest::newRow("tiny with the grip shown") << 240.0 << 100.0 << true << 5535.0 << QPointF(60, -80)
                                                  << -60.0 << -360.0 << -660.0 << 60.0 << -80.0;
        QTest::newRow("no size at all") << 0.0 << 0.0 << false << 5535.0 << QPointF(-180, -180) << -300.0
                                        << -600.0 << -900.0 << 0.0 << -10.0;
    }
    void layoutFollowsTheWindowSize() {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(bool, gripShown);
        Rig rig;
        // A first layout at the designed size, so that a skipped step shows as keeping that layout's value.
        rig.layOutAt(7545, 5895);
        rig.frame.setVisible(FramePart::Grip, gripShown);
        rig.window.calls.clear();
        rig.layOutAt(w, h);

        QCOMPARE(rig.window.calls, QStringList({"hide", "show"}));
        for (FramePart id :
             {FramePart::TitlePicture, FramePart::Separator, FramePart::TitleText, FramePart::Background})
            QCOMPARE(rig[id].width, w);
        QTEST(rig[FramePart::Background].height, "backgroundHeight");
        QTEST(QPointF(rig[FramePart::Grip].left, rig[FramePart::Grip].top), "grip");
        QTEST(rig[FramePart::MinimiseButton].left, "minimiseLeft");
        QTEST(rig[FramePart::MaximiseButton].left, "maximiseLeft");
        QTEST(rig[FramePart::RestoreButton].left, "restoreLeft");
        // Lines keep x1, y1 in left, top and x2, y2 in width, height.
        QCOMPARE(rig[FramePart::BottomLine].top, h - 10);
        QCOMPARE(rig[FramePart::BottomLine].height, h - 10);
        QTEST(rig[FramePart::BottomLine].width, "bottomLineEnd");
        QCOMPARE(rig[FramePart::LeftLine].top, h);
        QCOMPARE(rig[FramePart::TopLine].width, w);
        QCOMPARE(rig[FramePart::RightLine].left, w - 10);
        QCOMPARE(rig[FramePart::RightLine].width, w - 10);
        QTEST(rig[FramePart::RightLine].height, "rightLineEnd");

        FrameParts designed = designedFrame();
        designed[FramePart::Grip].visible = gripShown;
        designed[FramePart::LeftLine].visible = true;
        const QString moved = firstDifference(partsOf(rig.frame), designed, layoutFields);
        QVERIFY2(moved.isEmpty(), qPrintable(moved + " was changed by the layout"));
    }

    void layoutIsDoneWhileTheWindowIsHidden() {
        Rig rig;
        QList<double> backgroundWidths;
        rig.window.onCall = [&](const QString&) {
            backgroundWidths.append(rig[FramePart::Background].width);
        };
        rig.layOutAt(9000, 7000);
        QCOMPARE(rig.window.calls, QStringList({"hide", "show"}));
        QCOMPARE(backgroundWidths, QList<double>({row(Control::Background).width, 9000}));
    }

    void aMinimisedWindowIsNotLaidOut() {
        Rig rig;
        rig.layOutAt(7545, 5895);
        const FrameParts before = partsOf(rig.frame);
        const int changes = rig.window.partsChangedCount;
        rig.window.calls.clear();
        rig.window.isMinimised = true;

        rig.layOutAt(10000, 8000);
        QVERIFY(rig.window.calls.isEmpty());
        QCOMPARE(rig.window.partsChangedCount, changes);
        const QString changed = firstDifference(partsOf(rig.frame), before);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + " changed while minimised"));

        rig.window.isMinimised = false;
        rig.frame.relayout();
        QCOMPARE(rig[FramePart::Background].width, 10000.0);
    }

    void theLayoutLeavesTheWindowAloneWhileTheTitleIsHidden() {
        Rig rig;
        rig.frame.setVisible(FramePart::TitlePicture, false);
        rig.layOutAt(9000, 7000);
        QVERIFY(rig.window.calls.isEmpty());
        QCOMPARE(rig[FramePart::Background].width, 9000.0);
        QCOMPARE(rig[FramePart::Grip].top, 6820.0);
    }

    void captionButtonShowsItsPressedPictureAndActsOnRelease_data() {
        QTest::addColumn<CaptionButton>("captionButton");
        QTest::addColumn<bool>("placesItself");
        QTest::addColumn<QStringList>("releaseCalls");

        QTest::newRow("close") << CaptionButton{FramePart::CloseButton} << true << QStringList();
        QTest::newRow("minimise") << CaptionButton{FramePart::MinimiseButton} << true
                                  << QStringList({"processEvents", "minimize"});
        QTest::newRow("maximise") << CaptionButton{FramePart::MaximiseButton} << true
                                  << QStringList({"hide", "top=0", "left=0", "width=19200"}) + layoutCalls() +
                                         QStringList({"height=11100"}) + layoutCalls() +
                                         QStringList({"show"});
        QTest::newRow("restore") << CaptionButton{FramePart::RestoreButton} << true
                                 << QStringList({"hide", "width=8000"}) + layoutCalls() +
                                        QStringList({"height=6000"}) + layoutCalls() +
                                        QStringList({"top=2760", "left=5600", "show"});
        // Where the window system places the window (Wayland): its states, and the size without a position.
        QTest::newRow("maximise, placed by the system")
            << CaptionButton{FramePart::MaximiseButton} << false << QStringList({"maximize"});
        QTest::newRow("restore, placed by the system")
            << CaptionButton{FramePart::RestoreButton} << false
            << QStringList({"unmaximize", "hide", "width=8000"}) + layoutCalls() +
                   QStringList({"height=6000"}) + layoutCalls() + QStringList({"show"});
    }
    void captionButtonShowsItsPressedPictureAndActsOnRelease() {
        QFETCH(CaptionButton, captionButton);
        QFETCH(bool, placesItself);
        const FramePart button = captionButton.button;
        Rig rig;
        rig.window.canPlaceItself = placesItself;
        const FrameParts before = partsOf(rig.frame);
        QVERIFY(!rig[button].pressed);

        rig.frame.pressCaptionButton(button);
        QVERIFY(rig[button].pressed);
        QVERIFY(rig.window.calls.isEmpty());
        FrameParts expected = before;
        expected[button].pressed = true;
        const QString other = firstDifference(partsOf(rig.frame), expected);
        QVERIFY2(other.isEmpty(), qPrintable(other + " changed on the press"));

        rig.frame.releaseCaptionButton(button);
        QVERIFY(!rig[button].pressed);
        QTEST(rig.window.calls, "releaseCalls");
    }

    void restoringAWindowTheSystemMaximisedLeavesItsSizeToTheSystem() {
        Rig rig;
        rig.window.canPlaceItself = false;
        rig.frame.releaseCaptionButton(FramePart::MaximiseButton);
        rig.window.calls.clear();
        rig.frame.releaseCaptionButton(FramePart::RestoreButton);
        QCOMPARE(rig.window.calls, QStringList({"unmaximize"}));
    }

    void minimisingPaintsTheReleasedButtonFirst() {
        Rig rig;
        bool pressedWhileProcessing = true;
        rig.window.onCall = [&](const QString& call) {
            if (call == "processEvents") pressedWhileProcessing = rig[FramePart::MinimiseButton].pressed;
        };
        rig.frame.pressCaptionButton(FramePart::MinimiseButton);
        rig.frame.releaseCaptionButton(FramePart::MinimiseButton);
        QVERIFY(!pressedWhileProcessing);
        QVERIFY(rig.window.minimized());
    }

    void maximisingFillsTheScreenAboveTheTaskbarBand() {
        Rig rig;
        for (int time = 0; time < 2; ++time) {
            rig.frame.pressCaptionButton(FramePart::MaximiseButton);
            rig.frame.releaseCaptionButton(FramePart::MaximiseButton);
            QCOMPARE(rig.window.current, Geometry({0, 0, 19200, 11100}));
            QVERIFY(!rig.window.minimized());
            QCOMPARE(rig[FramePart::Background].width, 19200.0);
            QCOMPARE(QPointF(rig[FramePart::Grip].left, rig[FramePart::Grip].top), QPointF(19020, 10920));
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
            rig.frame.pressCaptionButton(FramePart::MaximiseButton);
            rig.frame.releaseCaptionButton(FramePart::MaximiseButton);
        } else if (before == 2) {
            rig.window.current.left = 4321;
            rig.window.current.top = 987;
        } else if (before == 3) {
            rig.frame.pressGrip(90, 90);
            rig.frame.moveGrip(590, 390);
            rig.frame.releaseGrip();
        }
        rig.frame.pressCaptionButton(FramePart::RestoreButton);
        rig.frame.releaseCaptionButton(FramePart::RestoreButton);
        QCOMPARE(rig.window.current, kHome);
        QCOMPARE(rig[FramePart::Background].height, 6000.0 - 360);
        QCOMPARE(QPointF(rig[FramePart::Grip].left, rig[FramePart::Grip].top), QPointF(7820, 5820));
    }

    void closingTakesAClickAndChangesNothingElse() {
        Rig rig;
        const FrameParts before = partsOf(rig.frame);
        rig.frame.pressCaptionButton(FramePart::CloseButton);
        rig.frame.releaseCaptionButton(FramePart::CloseButton);
        QVERIFY(rig.window.calls.isEmpty());
        rig.frame.clickCaptionButton(FramePart::CloseButton);
        QCOMPARE(rig.window.calls, QStringList({"unload"}));
        QCOMPARE(rig.window.current, kDesigned);
        const QString changed = firstDifference(partsOf(rig.frame), before);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + " changed"));
    }

    void theGripRemembersWhetherItIsHeld() {
        Rig rig;
        QVERIFY(!rig.frame.gripHeld());
        rig.frame.pressGrip(90, 90);
        QVERIFY(rig.frame.gripHeld());
        rig.frame.moveGrip(190, 190);
        QVERIFY(rig.frame.gripHeld());
        rig.frame.releaseGrip();
        QVERIFY(!rig.frame.gripHeld());
    }

    void holdingTheGripHidesTheFramePicturesAndReleasingShowsThemAll() {
        Rig rig;
        const QList<FramePart> framePictures{FramePart::TitlePicture,   FramePart::CloseButton,
                                             FramePart::Separator,      FramePart::Background,
                                             FramePart::MinimiseButton, FramePart::MaximiseButton,
                                             FramePart::RestoreButton,  FramePart::Icon};
        QVERIFY(!rig[FramePart::MinimiseButton].visible && !rig[FramePart::MaximiseButton].visible &&
                !rig[FramePart::RestoreButton].visible);
        FrameParts expected = partsOf(rig.frame);

        rig.frame.pressGrip(90, 90);
        for (FramePart id : framePictures)
            expected[id].visible = false;
        QString changed = firstDifference(partsOf(rig.frame), expected);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + " differs while the grip is held"));

        rig.frame.releaseGrip();
        for (FramePart id : framePictures)
            expected[id].visible = true;
        changed = firstDifference(partsOf(rig.frame), expected);
        QVERIFY2(changed.isEmpty(), qPrintable(changed + " differs after the release"));
        QVERIFY(rig.window.calls.isEmpty());
    }

    // Pointer positions are relative to the grip where it is at the time; the window moves the grip as it
    // grows.
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
        QTest::newRow("down to exactly the narrowest")
            << sized(3260, 5895) << moves({{-10, 90}}) << sized(3160, 5895);
        QTest::newRow("narrower than allowed is dropped")
            << sized(3200, 5895) << moves({{49, 90}}) << sized(3200, 5895);
        QTest::newRow("down to exactly the lowest")
            << sized(7545, 640) << moves({{90, -10}}) << sized(7545, 540);
        QTest::newRow("lower than allowed is dropped")
            << sized(7545, 640) << moves({{90, -11}}) << sized(7545, 640);
        QTest::newRow("a dropped width still lets the height change")
            << sized(3200, 5895) << moves({{40, 190}}) << sized(3200, 5995);
        QTest::newRow("a dropped height still lets the width change")
            << sized(7545, 640) << moves({{190, -100}}) << sized(7645, 640);
        QTest::newRow("a step past the narrowest is dropped, not clamped")
            << sized(3200, 5895) << moves({{60, 90}, {70, 90}}) << sized(3170, 5895);
        QTest::newRow("far beyond the screen") << kDesigned << moves({{30090, 20090}}) << sized(37545, 25895);
        QTest::newRow("from left of and above the grip")
            << kDesigned << moves({{-500, -300}}) << sized(6955, 5505);
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
        rig.frame.pressGrip(90, 90);
        for (const QPointF& p : moves)
            rig.frame.moveGrip(p.x(), p.y());
        rig.frame.releaseGrip();
        QTEST(rig.window.current, "expected");
    }

    void aGripStepSetsTheWidthBeforeTheHeightThenLetsThePlatformCatchUp_data() {
        QTest::addColumn<QPointF>("to");
        QTest::addColumn<QStringList>("expectedCalls");
        QTest::newRow("diagonal") << QPointF(190, 190)
                                  << QStringList(
                                         {"width=7645", "layout", "height=5995", "layout", "processEvents"});
        QTest::newRow("diagonal back")
            << QPointF(-10, -10)
            << QStringList({"width=7445", "layout", "height=5795", "layout", "processEvents"});
        QTest::newRow("sideways") << QPointF(190, 90)
                                  << QStringList({"width=7645", "layout", "processEvents"});
        QTest::newRow("upwards") << QPointF(90, -10)
                                 << QStringList({"height=5795", "layout", "processEvents"});
    }
    void aGripStepSetsTheWidthBeforeTheHeightThenLetsThePlatformCatchUp() {
        QFETCH(QPointF, to);
        Rig rig;
        rig.frame.pressGrip(90, 90);
        rig.frame.moveGrip(to.x(), to.y());
        QTEST(rig.window.calls, "expectedCalls");
        QCOMPARE(rig.window.current.left, kDesigned.left);
        QCOMPARE(rig.window.current.top, kDesigned.top);
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
        if (scenario != 0) rig.frame.pressGrip(90, 90);
        if (scenario == 1 || scenario == 3) rig.frame.releaseGrip();
        if (scenario == 2)
            rig.frame.moveGrip(90, 90);
        else if (scenario != 3)
            rig.frame.moveGrip(190, 290);
        QVERIFY(rig.window.calls.isEmpty());
        QCOMPARE(rig.window.current, kDesigned);
    }
};

QTEST_APPLESS_MAIN(FrameTest)
#include "tst_frame.moc"
