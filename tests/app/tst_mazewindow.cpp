// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as it starts: every control from the window description, start-up centring, the frame
// laid out for the window's size, and which control a click lands on.

#include "fakes/windowfixture.h"
#include "twips.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace zirk;
using namespace zirk::testing;

namespace {

using Fixture = WindowFixture;

QColor backgroundOf(QWidget* w) {
    return w->palette().color(QPalette::Window);
}

} // namespace

class MazeWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QApplication::setActiveWindow(nullptr); }

    void controlsStartWhereTheDescriptionPutsThem_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QRect>("pixels");
        QTest::addColumn<bool>("visible");
        const auto add = [](const char* name, Control id, QRect r, bool visible) {
            QTest::newRow(name) << static_cast<int>(id) << r << visible;
        };
        add("Picture3", Control::KeyPanel, {368, 328, 129, 49}, true);
        add("Quitter", Control::QuitButton, {404, 40, 93, 41}, true);
        add("Ouvrir", Control::OpenButton, {360, 40, 45, 41}, true);
        add("Picture2", Control::ExitSwatch, {364, 252, 13, 13}, true);
        add("Picture1", Control::PlayerSwatch, {364, 224, 13, 13}, true);
        add("button 2", Control::DownButton, {412, 176, 37, 33}, true);
        add("button 6", Control::RightButton, {448, 144, 37, 33}, true);
        add("SCR", Control::View, {8, 36, 350, 350}, true);
        add("button 8", Control::UpButton, {412, 112, 37, 33}, true);
        add("button 4", Control::LeftButton, {376, 144, 37, 33}, true);
        add("Shape1", Control::Hub, {416, 148, 29, 25}, true);
        add("Label2", Control::ExitLegend, {384, 252, 101, 21}, true);
        add("Label1", Control::PlayerLegend, {384, 224, 101, 17}, true);
        add("Down2", Control::CloseDownPicture, {4, 68, 16, 16}, false);
        add("Down6", Control::MinimiseDownPicture, {64, 68, 16, 16}, false);
        add("Down7", Control::MaximiseDownPicture, {44, 68, 16, 16}, false);
        add("Down8", Control::RestoreDownPicture, {24, 68, 16, 16}, false);
        add("UP2", Control::CloseUpPicture, {4, 52, 16, 16}, false);
        add("UP6", Control::MinimiseUpPicture, {64, 52, 16, 16}, false);
        add("UP7", Control::MaximiseUpPicture, {44, 52, 16, 16}, false);
        add("UP8", Control::RestoreUpPicture, {24, 52, 16, 16}, false);
        // The frame, already fitted to 503 x 393 pixels.
        add("grip", Control::Grip, {491, 381, 12, 12}, false);
        add("bottom line", Control::BottomLine, {-4, 392, 507, 1}, true);
        add("right line", Control::RightLine, {502, 0, 1, 392}, true);
        add("icon", Control::Icon, {24, 4, 32, 32}, true);
        add("restore", Control::RestoreButton, {443, 4, 16, 16}, false);
        add("maximise", Control::MaximiseButton, {463, 4, 16, 16}, false);
        add("minimise", Control::MinimiseButton, {483, 4, 16, 16}, false);
        add("top line", Control::TopLine, {0, 0, 503, 1}, true);
        add("left line", Control::LeftLine, {0, 1, 1, 393}, true);
        add("separator", Control::Separator, {0, 22, 503, 2}, true);
        add("close", Control::CloseButton, {4, 4, 16, 16}, true);
        add("title text", Control::TitleText, {0, 4, 503, 17}, true);
        add("title picture", Control::TitlePicture, {0, 0, 503, 23}, true);
        add("title strip, as wide as the screen", Control::TitleStrip, {0, 0, 1024, 24}, true);
        add("background", Control::Background, {0, 24, 503, 369}, true);
    }
    void controlsStartWhereTheDescriptionPutsThem() {
        QFETCH(int, id);
        QFETCH(QRect, pixels);
        QFETCH(bool, visible);
        Fixture f;
        QWidget* w = f.window.control(static_cast<Control>(id));
        QVERIFY(w);
        QCOMPARE(w->geometry(), pixels);
        QCOMPARE(w->isVisibleTo(&f.window), visible);
    }

    void theHintWrapsAtItsWidthAndGrowsDownwards() {
        Fixture f;
        auto* hint = f.window.control<QLabel>(Control::PanelHint);
        QCOMPARE(hint->text(),
                 QStringLiteral("Appuyez sur le rectangle  pour utilisez les touches (il devient vert)"));
        QCOMPARE(hint->geometry().topLeft(), QPoint(361, 280));
        QCOMPARE(hint->width(), 141);
        QVERIFY(hint->wordWrap());
        QVERIFY(hint->alignment() & Qt::AlignHCenter);
        const int lines = hint->height() / hint->fontMetrics().lineSpacing();
        QVERIFY2(lines >= 2, qPrintable(QString::number(hint->height())));
        QCOMPARE(hint->height(), hint->heightForWidth(141));
    }

    void theWindowIsFramelessAndNamed() {
        Fixture f;
        QVERIFY(f.window.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Zirk pour Windows"));
        QVERIFY(!f.window.windowIcon().isNull());
        QCOMPARE(f.window.size(), QSize(503, 393));
        QCOMPARE(backgroundOf(&f.window), QColor(192, 192, 192));
        QVERIFY(f.window.isVisible());
    }

    // Sharp at every size a desktop asks for: each is the drawing made for it, the file installed as the
    // menu's icon of that size, not another size scaled.
    void theWindowIconIsDrawnForEverySize_data() {
        QTest::addColumn<int>("size");
        for (int size : {16, 24, 32, 48, 64, 128, 256})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }
    void theWindowIconIsDrawnForEverySize() {
        QFETCH(int, size);
        Fixture f;
        const QIcon icon = f.window.windowIcon();
        QList<QSize> sizes;
        for (int drawn : {16, 24, 32, 48, 64, 128, 256})
            sizes.append(QSize(drawn, drawn));
        QCOMPARE(icon.availableSizes(), sizes);
        const QImage drawn(QStringLiteral(ZIRK_PICTURES_DIR "/zirk_%1.png").arg(size));
        QCOMPARE(drawn.size(), QSize(size, size));
        const QPixmap shown = icon.pixmap(QSize(size, size), 1.0);
        QCOMPARE(shown.toImage().convertToFormat(drawn.format()), drawn);
    }

    void textsAndTooltipsKeepTheirAccents_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("close") << int(Control::CloseButton) << QStringLiteral("Fermer");
        QTest::newRow("close pressed") << int(Control::CloseDownPicture) << QStringLiteral("Fermer");
        QTest::newRow("minimise") << int(Control::MinimiseButton) << QStringLiteral("R\u00e9duire");
        QTest::newRow("minimise released")
            << int(Control::MinimiseUpPicture) << QStringLiteral("R\u00e9duire");
        QTest::newRow("maximise") << int(Control::MaximiseButton) << QStringLiteral("Agrandir");
        QTest::newRow("maximise pressed") << int(Control::MaximiseDownPicture) << QStringLiteral("Agrandir");
        QTest::newRow("restore") << int(Control::RestoreButton)
                                 << QStringLiteral("Restaurer \u00e0 l'original");
        QTest::newRow("restore pressed")
            << int(Control::RestoreDownPicture) << QStringLiteral("Restaurer \u00e0 l'original");
        QTest::newRow("grip has none") << int(Control::Grip) << QString();
        QTest::newRow("title has none") << int(Control::TitlePicture) << QString();
    }
    void textsAndTooltipsKeepTheirAccents() {
        QFETCH(int, id);
        QFETCH(QString, tooltip);
        Fixture f;
        QCOMPARE(f.window.control(static_cast<Control>(id))->toolTip(), tooltip);
    }

    void captionsAndFontsAreTheDescribedOnes_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::newRow("title text") << int(Control::TitleText) << "Zirk pour Windows"
                                    << "Arial" << 9.0 << true;
        QTest::newRow("title strip") << int(Control::TitleStrip) << ""
                                     << "Arial" << 12.0 << true;
        QTest::newRow("hint") << int(Control::PanelHint)
                              << "Appuyez sur le rectangle  pour utilisez les touches (il devient vert)"
                              << "Arial" << 8.25 << true;
        QTest::newRow("legend you") << int(Control::PlayerLegend) << "Vous"
                                    << "" << 0.0 << false;
        QTest::newRow("legend exit") << int(Control::ExitLegend) << "La sortie"
                                     << "" << 0.0 << false;
        QTest::newRow("open") << int(Control::OpenButton) << "Ouvrir"
                              << "" << 0.0 << false;
        QTest::newRow("quit") << int(Control::QuitButton) << "Quitter"
                              << "" << 0.0 << false;
        QTest::newRow("up") << int(Control::UpButton) << "8"
                            << "" << 0.0 << false;
        QTest::newRow("right") << int(Control::RightButton) << "6"
                               << "" << 0.0 << false;
        QTest::newRow("left") << int(Control::LeftButton) << "4"
                              << "" << 0.0 << false;
        QTest::newRow("down") << int(Control::DownButton) << "2"
                              << "" << 0.0 << false;
    }
    void captionsAndFontsAreTheDescribedOnes() {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QString, family);
        QFETCH(double, points);
        QFETCH(bool, bold);
        Fixture f;
        QWidget* w = f.window.control(static_cast<Control>(id));
        if (auto* label = qobject_cast<QLabel*>(w))
            QCOMPARE(label->text(), text);
        else
            QCOMPARE(qobject_cast<QPushButton*>(w)->text(), text);
        if (family.isEmpty()) {
            QCOMPARE(w->font().bold(), bold);
            return;
        }
        // Asked for by name; fontconfig hands out the metric-compatible stand-in where Arial itself is
        // missing.
        QCOMPARE(w->font().family(), family);
        QCOMPARE(w->font().pointSizeF(), points);
        QCOMPARE(w->font().weight(), QFont::Bold);
    }

    void coloursAreTheDescribedOnes_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("key panel starts red") << int(Control::KeyPanel) << QColor(255, 0, 0);
        QTest::newRow("you swatch") << int(Control::PlayerSwatch) << QColor(255, 0, 0);
        QTest::newRow("exit swatch") << int(Control::ExitSwatch) << QColor(0, 0, 255);
        QTest::newRow("title strip after start-up") << int(Control::TitleStrip) << QColor(89, 164, 203);
    }
    void coloursAreTheDescribedOnes() {
        QFETCH(int, id);
        QFETCH(QColor, colour);
        Fixture f;
        QCOMPARE(backgroundOf(f.window.control(static_cast<Control>(id))), colour);
    }

    void theWindowShowsItsFrameAndABlackView_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("top line is white") << QPoint(250, 0) << QColor(255, 255, 255);
        QTest::newRow("left line is white") << QPoint(0, 200) << QColor(255, 255, 255);
        QTest::newRow("right line is grey") << QPoint(502, 200) << QColor(128, 128, 128);
        QTest::newRow("bottom line is grey") << QPoint(250, 392) << QColor(128, 128, 128);
        QTest::newRow("view is black") << QPoint(8 + 175, 36 + 175) << QColor(0, 0, 0);
        QTest::newRow("view's last pixel is black") << QPoint(357, 385) << QColor(0, 0, 0);
        QTest::newRow("key panel is red inside its border")
            << QPoint(368 + 64, 328 + 24) << QColor(255, 0, 0);
        QTest::newRow("exit swatch") << QPoint(370, 258) << QColor(0, 0, 255);
        QTest::newRow("title text is black") << QPoint(-1, -1) << QColor(0, 0, 0);
    }
    void theWindowShowsItsFrameAndABlackView() {
        QFETCH(QPoint, at);
        QFETCH(QColor, colour);
        Fixture f;
        const QImage shot = f.window.grab().toImage();
        QCOMPARE(shot.size(), QSize(503, 393));
        if (at.x() < 0) {
            // Somewhere in the middle of the title strip a glyph of the title is drawn in black.
            bool found = false;
            for (int x = 200; x < 300 && !found; ++x)
                for (int y = 4; y < 21 && !found; ++y)
                    found = shot.pixelColor(x, y) == colour;
            QVERIFY(found);
            return;
        }
        QCOMPARE(shot.pixelColor(at), colour);
    }

    void theFrameIsLaidOutBeforeTheWindowIsFirstSeen() {
        FakePlatform fakes;
        MazeWindow window(fakes.services());
        int titleWidthWhenShown = -1;
        struct Watch : QObject {
            MazeWindow* window;
            int* width;
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Show && *width < 0)
                    *width = window->control(Control::TitlePicture)->width();
                return false;
            }
        } watch;
        watch.window = &window;
        watch.width = &titleWidthWhenShown;
        window.installEventFilter(&watch);
        window.start();
        QCOMPARE(titleWidthWhenShown, 503);
        QCOMPARE(window.frame()[FramePart::Background].width, 7545.0);
    }

    void startUpCentresTheWindowAndRemembersWhere_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QList<double>>("home"); // left, top, width, height
        // (15360 - 7545) / 2 = 3907.5 twips, 260.5 pixels: the window lands on whole pixels and the
        // remembered values are the ones read back.
        QTest::newRow("1024 x 768") << QRect(0, 0, 1024, 768) << QPoint(260, 187)
                                    << QList<double>{3900, 2805, 7545, 5895};
        QTest::newRow("1920 x 1080") << QRect(0, 0, 1920, 1080) << QPoint(708, 343)
                                     << QList<double>{10620, 5145, 7545, 5895};
        QTest::newRow("exactly the window's size")
            << QRect(0, 0, 503, 393) << QPoint(0, 0) << QList<double>{0, 0, 7545, 5895};
        QTest::newRow("smaller than the window")
            << QRect(0, 0, 400, 300) << QPoint(-51, -46) << QList<double>{-765, -690, 7545, 5895};
    }
    void startUpCentresTheWindowAndRemembersWhere() {
        QFETCH(QRect, screen);
        QFETCH(QPoint, position);
        QFETCH(QList<double>, home);
        Fixture f(screen);
        QCOMPARE(f.window.pos(), position);
        const WindowGeometry& g = f.window.frame().home();
        QCOMPARE(QList<double>({g.left, g.top, g.width, g.height}), home);
        QCOMPARE(f.window.control(Control::TitleStrip)->width(), screen.width());
    }

    void aClickLandsOnTheFrontmostControl_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("expected");
        // "Quitter" lies in front of "Ouvrir" where the two share a column of pixels.
        QTest::newRow("shared column goes to Quitter") << QPoint(404, 60) << "quit";
        QTest::newRow("one pixel left of it opens") << QPoint(403, 60) << "open";
        QTest::newRow("title text over the title picture") << QPoint(250, 10) << "LBL1";
        QTest::newRow("title picture above the text") << QPoint(250, 2) << "IMG1";
        QTest::newRow("close button over the title text") << QPoint(10, 10) << "IMG2";
        QTest::newRow("icon over the title text") << QPoint(40, 10) << "IMG9";
        QTest::newRow("hidden minimise button does not take it") << QPoint(490, 10) << "LBL1";
    }
    void aClickLandsOnTheFrontmostControl() {
        QFETCH(QPoint, at);
        QFETCH(QString, expected);
        Fixture f;
        if (expected == "quit" || expected == "open") {
            QVERIFY(QTest::qWaitForWindowExposed(&f.window));
            QTest::mouseClick(f.handle(), Qt::LeftButton, {}, at);
            QCOMPARE(f.end.calls, expected == "quit" ? 1 : 0);
            QCOMPARE(f.chooser.calls, expected == "open" ? 1 : 0);
            return;
        }
        QCOMPARE(f.window.childAt(at)->objectName(), expected);
    }

    void tabOrderFollowsTheTabIndicesAndStartsOnOuvrir() {
        Fixture f;
        QApplication::setActiveWindow(&f.window);
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QCOMPARE(QApplication::focusWidget(), f.window.control(Control::OpenButton));
        QCOMPARE(backgroundOf(f.window.control(Control::KeyPanel)), QColor(255, 0, 0));
        const QList<Control> order{Control::OpenButton, Control::RightButton,  Control::DownButton,
                                   Control::QuitButton, Control::LeftButton,   Control::UpButton,
                                   Control::View,       Control::PlayerSwatch, Control::ExitSwatch,
                                   Control::KeyPanel};
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), f.window.control(order[i]));
        }
        // Tabbing onto the key panel gives it the focus colour.
        QCOMPARE(backgroundOf(f.window.control(Control::KeyPanel)), QColor(0, 255, 0));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.window.control(Control::OpenButton));
        QCOMPARE(backgroundOf(f.window.control(Control::KeyPanel)), QColor(255, 0, 0));
    }

    void theFrameFollowsASizeGivenByTheWindowSystem_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("gripShown");
        QTest::addColumn<QRect>("rightLine");
        QTest::addColumn<QRect>("bottomLine");
        QTest::addColumn<int>("backgroundHeight");
        QTest::newRow("wider, as laid out by design")
            << QSize(748, 393) << false << QRect(747, 0, 1, 392) << QRect(-4, 392, 752, 1) << 369;
        QTest::newRow("grip shown") << QSize(503, 393) << true << QRect(502, 0, 1, 381)
                                    << QRect(-4, 392, 495, 1) << 369;
        QTest::newRow("narrower than the caption buttons")
            << QSize(50, 393) << false << QRect(49, 0, 1, 392) << QRect(-4, 392, 54, 1) << 369;
        // Below the background's top the background keeps its last height.
        QTest::newRow("lower than the title strip")
            << QSize(503, 20) << false << QRect(502, 0, 1, 19) << QRect(-4, 19, 507, 1) << 369;
    }
    void theFrameFollowsASizeGivenByTheWindowSystem() {
        QFETCH(QSize, size);
        QFETCH(bool, gripShown);
        QFETCH(QRect, rightLine);
        QFETCH(QRect, bottomLine);
        QFETCH(int, backgroundHeight);
        Fixture f;
        if (gripShown) f.showHidden({FramePart::Grip});
        const QRect view = f.window.control(Control::View)->geometry();
        f.window.resize(size); // as the window system would
        QCOMPARE(f.window.control(Control::RightLine)->geometry(), rightLine);
        QCOMPARE(f.window.control(Control::BottomLine)->geometry(), bottomLine);
        QCOMPARE(f.window.control(Control::TitlePicture)->width(), size.width());
        QCOMPARE(f.window.control(Control::Background)->height(), backgroundHeight);
        QCOMPARE(f.window.control(Control::Grip)->geometry(),
                 QRect(size.width() - 12, size.height() - 12, 12, 12));
        QCOMPARE(f.window.control(Control::MinimiseButton)->x(), size.width() - 20);
        QCOMPARE(f.window.control(Control::View)->geometry(), view);
        QVERIFY(f.window.updatesEnabled());
    }

    void aScreenReaderCanNameEveryControlThatTakesTheFocus_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("name");
        QTest::newRow("open") << int(Control::OpenButton) << "Ouvrir";
        QTest::newRow("quit") << int(Control::QuitButton) << "Quitter";
        QTest::newRow("up") << int(Control::UpButton) << "Aller en haut";
        QTest::newRow("down") << int(Control::DownButton) << "Aller en bas";
        QTest::newRow("view") << int(Control::View) << "Labyrinthe";
        QTest::newRow("you swatch") << int(Control::PlayerSwatch) << "Vous";
        QTest::newRow("exit swatch") << int(Control::ExitSwatch) << "La sortie";
        QTest::newRow("key panel") << int(Control::KeyPanel) << "Rectangle des touches";
        QTest::newRow("close") << int(Control::CloseButton) << "Fermer";
    }
    void aScreenReaderCanNameEveryControlThatTakesTheFocus() {
        QFETCH(int, id);
        QFETCH(QString, name);
        Fixture f;
        QCOMPARE(f.window.control(static_cast<Control>(id))->accessibleName(), name);
    }

    void theKeyPanelExplainsItselfToAScreenReader() {
        Fixture f;
        QCOMPARE(f.window.control(Control::KeyPanel)->accessibleDescription(),
                 f.window.control<QLabel>(Control::PanelHint)->text());
    }

    // Each picture is read with its format named rather than guessed; what it shows must not change for that.
    void everyPictureShowsItsFileAsQtReadsIt() {
        Fixture f;
        int checked = 0;
        for (const ControlRow& r : kControls) {
            if (r.kind != Kind::Picture || !r.picture) continue;
            const QImage expected(QString::fromUtf8(r.picture));
            QVERIFY2(!expected.isNull(), r.picture);
            // Found by its name, as tests and accessibility tools find it.
            auto* control = f.window.findChild<PictureControl*>(QString::fromUtf8(r.name));
            QVERIFY2(control == f.window.control(r.control), r.name);
            const QImage shown = control->picture().toImage();
            QVERIFY2(shown.convertToFormat(expected.format()) == expected, r.name);
            ++checked;
        }
        QVERIFY(checked > 0);
        const QImage icon(QString::fromUtf8(kMainWindow.icon));
        QVERIFY(!icon.isNull());
        QCOMPARE(f.window.windowIcon().pixmap(icon.size()).toImage().convertToFormat(icon.format()), icon);
    }

    void theViewKeepsA350PixelPictureThatStartsBlack() {
        Fixture f;
        auto* view = f.window.control<MazeView>(Control::View);
        const QImage& picture = view->picture();
        QCOMPARE(picture.size(), QSize(350, 350));
        QCOMPARE(picture.pixelColor(0, 0), QColor(0, 0, 0));
        QCOMPARE(picture.pixelColor(349, 349), QColor(0, 0, 0));
    }
};

QTEST_MAIN(MazeWindowTest)
#include "tst_mazewindow.moc"
