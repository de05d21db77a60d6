// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's controls driven through the real mouse path: the grip keeps the pointer until release, the
// caption buttons act on release, and the title moves the window where the window system will not.

#include "fakes/windowfixture.h"

#include <QApplication>
#include <QTest>

using namespace zirk;
using namespace zirk::testing;

namespace {

struct Fixture : WindowFixture {
    Fixture() {
        if (!QTest::qWaitForWindowExposed(&window)) qWarning("the window was not exposed");
    }
    bool shown(Control id) { return window.control(id)->isVisibleTo(&window); }
};

const Control kEight[] = {
    Control::TitlePicture,   Control::CloseButton,    Control::Separator,     Control::Background,
    Control::MinimiseButton, Control::MaximiseButton, Control::RestoreButton, Control::Icon};

} // namespace

class TestFrameWindow : public QObject {
    Q_OBJECT

private slots:
    void theGripFollowsThePointerUntilRelease() {
        Fixture f;
        f.showHidden({FramePart::Grip});
        const QPoint origin = f.window.pos();
        const QPoint press = f.centre(Control::Grip);
        QTest::mousePress(f.handle(), Qt::LeftButton, {}, press);
        QVERIFY(f.window.frame().gripHeld());
        for (Control id : kEight)
            QVERIFY2(!f.shown(id), qPrintable(f.window.control(id)->objectName()));
        QVERIFY(f.shown(Control::Grip));
        QVERIFY(f.shown(Control::TitleText));
        QVERIFY(f.shown(Control::TitleStrip));

        QTest::mouseMove(f.handle(), press + QPoint(30, 20));
        QCOMPARE(f.window.size(), QSize(533, 413));
        // The grip sits under the pointer again.
        QCOMPARE(f.window.control(Control::Grip)->geometry(), QRect(521, 401, 12, 12));
        QTest::mouseMove(f.handle(), press + QPoint(30, 20) + QPoint(-40, 5));
        QCOMPARE(f.window.size(), QSize(493, 418));
        // Far outside the window, to the left and above: shrinking below the minimum is refused as a whole.
        QTest::mouseMove(f.handle(), QPoint(-300, -300));
        QCOMPARE(f.window.size(), QSize(493, 418));
        QCOMPARE(f.window.pos(), origin);

        QTest::mouseRelease(f.handle(), Qt::LeftButton, {}, QPoint(-300, -300));
        QVERIFY(!f.window.frame().gripHeld());
        // All eight come back, the three window-state buttons included, which were hidden before.
        for (Control id : kEight)
            QVERIFY2(f.shown(id), qPrintable(f.window.control(id)->objectName()));
        QCOMPARE(f.window.control(Control::TitlePicture)->width(), 493);
        QCOMPARE(f.window.control(Control::RightLine)->x(), 492);
        QVERIFY(f.window.updatesEnabled());
    }

    void aShrinkingGripStepStopsAtTheMinimumSize() {
        Fixture f;
        f.showHidden({FramePart::Grip});
        const QPoint press = f.centre(Control::Grip);
        QTest::mousePress(f.handle(), Qt::LeftButton, {}, press);
        // 3160 x 540 twips is the smallest window, 210.7 x 36 pixels.
        QTest::mouseMove(f.handle(), press - QPoint(292, 0));
        QCOMPARE(f.window.width(), 211);
        QTest::mouseMove(f.handle(), f.centre(Control::Grip) - QPoint(1, 357));
        QCOMPARE(f.window.size(), QSize(211, 36));
        QTest::mouseMove(f.handle(), f.centre(Control::Grip) - QPoint(1, 1));
        QCOMPARE(f.window.size(), QSize(211, 36));
        QTest::mouseRelease(f.handle(), Qt::LeftButton, {}, f.centre(Control::Grip));
    }

    void pointerMotionOverTheGripBeforeAnyPressDoesNothing() {
        Fixture f;
        f.showHidden({FramePart::Grip});
        QTest::mouseMove(f.handle(), f.centre(Control::Grip));
        QTest::mouseMove(f.handle(), f.centre(Control::Grip) + QPoint(5, 5));
        QCOMPARE(f.window.size(), QSize(503, 393));
        QVERIFY(!f.window.frame().gripHeld());
    }

    void captionButtonsShowTheirPressedPictureWhileHeld_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("released");
        const auto add = [](const char* name, Control button, Control pressed, Control released) {
            QTest::newRow(name) << int(button) << int(pressed) << int(released);
        };
        add("close", Control::CloseButton, Control::CloseDownPicture, Control::CloseUpPicture);
        add("minimise", Control::MinimiseButton, Control::MinimiseDownPicture, Control::MinimiseUpPicture);
        add("maximise", Control::MaximiseButton, Control::MaximiseDownPicture, Control::MaximiseUpPicture);
        add("restore", Control::RestoreButton, Control::RestoreDownPicture, Control::RestoreUpPicture);
    }
    void captionButtonsShowTheirPressedPictureWhileHeld() {
        QFETCH(int, button);
        QFETCH(int, pressed);
        QFETCH(int, released);
        Fixture f;
        f.showHidden({FramePart::MinimiseButton, FramePart::MaximiseButton, FramePart::RestoreButton});
        auto* image = f.window.control<PictureControl>(static_cast<Control>(button));
        const auto holder = [&](int id) {
            return f.window.control<PictureControl>(static_cast<Control>(id))->picture();
        };
        QCOMPARE(image->picture().toImage(), holder(released).toImage());
        const QPoint at = image->geometry().center();
        QTest::mousePress(f.handle(), Qt::LeftButton, {}, at);
        QCOMPARE(image->picture().toImage(), holder(pressed).toImage());
        // Released off the button: the released picture returns all the same.
        QTest::mouseMove(f.handle(), at + QPoint(0, 100));
        QTest::mouseRelease(f.handle(), Qt::LeftButton, {}, at + QPoint(0, 100));
        QCOMPARE(image->picture().toImage(), holder(released).toImage());
    }

    void theCloseButtonClosesOnlyOnAClick() {
        Fixture f;
        const QPoint at = f.centre(Control::CloseButton);
        QTest::mousePress(f.handle(), Qt::LeftButton, {}, at);
        QTest::mouseMove(f.handle(), at + QPoint(50, 50));
        QTest::mouseRelease(f.handle(), Qt::LeftButton, {}, at + QPoint(50, 50));
        QVERIFY(f.window.isVisible());
        // Only the left button clicks it.
        QTest::mouseClick(f.handle(), Qt::RightButton, {}, at);
        QTest::mouseClick(f.handle(), Qt::MiddleButton, {}, at);
        QVERIFY(f.window.isVisible());
        QTest::mouseClick(f.handle(), Qt::LeftButton, {}, at);
        QVERIFY(!f.window.isVisible());
    }

    void maximiseAndRestoreActOnReleaseEvenOffTheButton() {
        Fixture f;
        f.showHidden({FramePart::MinimiseButton, FramePart::MaximiseButton, FramePart::RestoreButton});
        const QPoint maximise = f.centre(Control::MaximiseButton);
        QTest::mousePress(f.handle(), Qt::LeftButton, {}, maximise);
        QTest::mouseRelease(f.handle(), Qt::LeftButton, {}, maximise + QPoint(-200, 60));
        QCOMPARE(f.window.geometry(), QRect(0, 0, 1024, 740));
        QCOMPARE(f.window.windowState() & Qt::WindowMaximized, Qt::WindowNoState);
        QCOMPARE(f.window.control(Control::Background)->size(), QSize(1024, 716));
        QVERIFY(f.window.updatesEnabled());
        const QPoint restore = f.centre(Control::RestoreButton);
        QTest::mouseClick(f.handle(), Qt::MiddleButton, {}, restore);
        QCOMPARE(f.window.geometry(), QRect(0, 0, 1024, 740));
        QTest::mouseClick(f.handle(), Qt::LeftButton, {}, restore);
        QCOMPARE(f.window.geometry(), QRect(260, 187, 503, 393));
        QCOMPARE(f.window.control(Control::MinimiseButton)->x(), 483);
    }

    void stretchedPicturesAreQtsOwnStretch_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as it starts") << QSize(503, 393);
        QTest::newRow("odd sizes") << QSize(777, 555);
        QTest::newRow("narrower and taller") << QSize(420, 1301);
        QTest::newRow("more than eight columns a picture column") << QSize(4567, 1441);
    }
    void stretchedPicturesAreQtsOwnStretch() {
        QFETCH(QSize, size);
        WindowFixture f(QRect(0, 0, 8000, 3000));
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.window.resize(size);
        QCOMPARE(f.window.size(), size);
        for (Control id : {Control::TitlePicture, Control::Separator, Control::Background}) {
            auto* control = f.window.control<PictureControl>(id);
            const QImage expected =
                control->picture()
                    .scaled(control->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .toImage();
            QCOMPARE(control->grab().toImage().convertToFormat(expected.format()), expected);
            // Painted at an offset, and only in part.
            const QRect part(3, 2, control->width() / 2, control->height() - 2);
            QCOMPARE(control->grab(part).toImage().convertToFormat(expected.format()), expected.copy(part));
        }
        // In the whole window the controls above cut the background's paint into many rectangles.
        auto* background = f.window.control<PictureControl>(Control::Background);
        const QImage window = f.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage stretched =
            background->picture()
                .scaled(background->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        QRegion bare(background->geometry());
        for (const QWidget* above : f.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (above != background && above->isVisible()) bare -= above->geometry();
        for (const QRect& r : bare)
            QCOMPARE(window.copy(r), stretched.copy(r.translated(-background->pos())));
    }

    void minimiseShowsTheReleasedPictureFirst() {
        Fixture f;
        f.showHidden({FramePart::MinimiseButton});
        QTest::mouseClick(f.handle(), Qt::LeftButton, {}, f.centre(Control::MinimiseButton));
        QVERIFY(f.window.windowState() & Qt::WindowMinimized);
        QCOMPARE(f.window.control<PictureControl>(Control::MinimiseButton)->picture().toImage(),
                 f.window.control<PictureControl>(Control::MinimiseUpPicture)->picture().toImage());
    }

    void theTitleMovesTheWindowWithThePointer_data() {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<bool>("moves");
        QTest::newRow("title picture") << QPoint(250, 2) << true;
        QTest::newRow("title text") << QPoint(250, 10) << true;
        QTest::newRow("icon") << QPoint(40, 20) << false;
        QTest::newRow("separator") << QPoint(250, 23) << false;
    }
    void theTitleMovesTheWindowWithThePointer() {
        QFETCH(QPoint, press);
        QFETCH(bool, moves);
        Fixture f;
        const QRect before = f.window.geometry();
        QTest::mousePress(f.handle(), Qt::LeftButton, {}, press);
        // Moves are reported relative to where the window is now: a window that follows the pointer sees it
        // at the same place each time, one that stays put sees it walk away.
        QPoint pointer = press;
        for (int i = 0; i < 4; ++i) {
            QTest::mouseMove(f.handle(), pointer + QPoint(15, 10));
            pointer = QPoint(press.x() + (moves ? 0 : 15 * (i + 1)), press.y() + (moves ? 0 : 10 * (i + 1)));
        }
        QTest::mouseRelease(f.handle(), Qt::LeftButton, {}, pointer);
        const QRect after = f.window.geometry();
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.topLeft() - before.topLeft(), moves ? QPoint(60, 40) : QPoint(0, 0));
    }

    void aDoubleClickOnTheTitleTextNeitherMaximisesNorRestores() {
        Fixture f;
        const QRect before = f.window.geometry();
        QTest::mouseDClick(f.handle(), Qt::LeftButton, {}, QPoint(250, 10));
        QCOMPARE(f.window.geometry(), before);
        QCOMPARE(f.window.windowState(), Qt::WindowNoState);
    }
};

QTEST_MAIN(TestFrameWindow)
#include "tst_frame_window.moc"
