#include "startup.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTest>

#include <algorithm>

using namespace zirk;

namespace {

// Logs every call that changes the window, with what the game state held when it was shown, and may, like a
// real window system, place it elsewhere than asked.
class FakeWindow : public StartupWindow {
public:
    FakeWindow(const Game& state, long long screenWidth, long long screenHeight, long long width,
               long long height)
        : state_(state), screenWidth_(screenWidth), screenHeight_(screenHeight), width_(width),
          height_(height) {}

    void setTitleStripColour(Rgb c) override {
        log << QStringLiteral("strip colour %1,%2,%3").arg(c.r).arg(c.g).arg(c.b);
    }
    void showLeftBorder() override { log << QStringLiteral("left border"); }
    void setTitleStripWidth(long long twips) override { log << QStringLiteral("strip width %1").arg(twips); }
    long long screenWidth() const override { return screenWidth_; }
    long long screenHeight() const override { return screenHeight_; }
    long long width() const override { return width_; }
    long long height() const override { return height_; }
    long long left() const override { return left_; }
    long long top() const override { return top_; }
    void setLeft(long long twips) override {
        log << QStringLiteral("left %1").arg(twips);
        left_ = place(twips, width_, screenWidth_);
    }
    void setTop(long long twips) override {
        log << QStringLiteral("top %1").arg(twips);
        top_ = place(twips, height_, screenHeight_);
    }
    void show() override {
        log << QStringLiteral("show, cell size %1, home %2,%3 %4x%5")
                   .arg(state_.CellSize)
                   .arg(state_.HomeLeft)
                   .arg(state_.HomeTop)
                   .arg(state_.HomeWidth)
                   .arg(state_.HomeHeight);
    }

    QStringList log;
    long long shift = 0;
    // A window pushed off the screen's top-left edge is pulled back onto it and shrunk to fit.
    bool keepOnScreen = false;

private:
    long long place(long long asked, long long& extent, long long screen) const {
        if (!keepOnScreen || asked >= 0) return asked + shift;
        extent = std::min(extent, screen);
        return 0;
    }

    const Game& state_;
    long long screenWidth_, screenHeight_, width_, height_;
    long long left_ = 0, top_ = 0;
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void startUpPaintsCentresRemembersThenShows() {
        Game state;
        FakeWindow window(state, 15360, 11520, 9000, 7000);
        Form_Load(window, state);
        const QStringList expected{
            QStringLiteral("strip colour 89,164,203"),
            QStringLiteral("left border"),
            QStringLiteral("strip width 15360"),
            QStringLiteral("left 3180"),
            QStringLiteral("top 2260"),
            QStringLiteral("show, cell size 0, home 3180,2260 9000x7000"),
        };
        QCOMPARE(window.log, expected);
        QCOMPARE(state.CellSize, 70);
    }

    void theWindowIsCentredAndRemembersWhereItEndedUp_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<long long>("shift");
        QTest::addColumn<bool>("keepOnScreen");
        QTest::addColumn<QPoint>("asked");
        QTest::addColumn<QRect>("home");
        QTest::newRow("even margins") << QSize(15360, 11520) << QSize(9000, 7000) << 0LL << false
                                      << QPoint(3180, 2260) << QRect(3180, 2260, 9000, 7000);
        QTest::newRow("odd margins round down") << QSize(1301, 1001) << QSize(1000, 1000) << 0LL << false
                                                << QPoint(150, 0) << QRect(150, 0, 1000, 1000);
        QTest::newRow("as large as the screen")
            << QSize(900, 700) << QSize(900, 700) << 0LL << false << QPoint(0, 0) << QRect(0, 0, 900, 700);
        QTest::newRow("larger than the screen rounds up")
            << QSize(1000, 1000) << QSize(1301, 1001) << 0LL << false << QPoint(-150, 0)
            << QRect(-150, 0, 1301, 1001);
        QTest::newRow("far larger") << QSize(1000, 1000) << QSize(4001, 3000) << 0LL << false
                                    << QPoint(-1500, -1000) << QRect(-1500, -1000, 4001, 3000);
        QTest::newRow("moved by the window system") << QSize(1000, 1000) << QSize(1301, 1201) << 45LL << false
                                                    << QPoint(-150, -100) << QRect(-105, -55, 1301, 1201);
        QTest::newRow("pulled back and shrunk") << QSize(1000, 1000) << QSize(1301, 1201) << 0LL << true
                                                << QPoint(-150, -100) << QRect(0, 0, 1000, 1000);
    }
    void theWindowIsCentredAndRemembersWhereItEndedUp() {
        QFETCH(QSize, screen);
        QFETCH(QSize, window);
        QFETCH(long long, shift);
        QFETCH(bool, keepOnScreen);
        QFETCH(QPoint, asked);
        QFETCH(QRect, home);
        Game state;
        FakeWindow fake(state, screen.width(), screen.height(), window.width(), window.height());
        fake.shift = shift;
        fake.keepOnScreen = keepOnScreen;
        Form_Load(fake, state);
        QCOMPARE(fake.log.at(2), QStringLiteral("strip width %1").arg(screen.width()));
        QCOMPARE(fake.log.at(3), QStringLiteral("left %1").arg(asked.x()));
        QCOMPARE(fake.log.at(4), QStringLiteral("top %1").arg(asked.y()));
        QCOMPARE(QRectF(state.HomeLeft, state.HomeTop, state.HomeWidth, state.HomeHeight), QRectF(home));
    }
};

QTEST_APPLESS_MAIN(StartupTest)
#include "tst_startup.moc"
