#include "form1.h"

#include "loader.h"
#include "moves.h"
#include "panel.h"
#include "twips.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QWindow>

namespace zirk {

namespace {

QRect pixelRect(const ControlState& c) {
    const int x = toPixels(c.left), y = toPixels(c.top);
    return QRect(x, y, toPixels(c.left + c.width) - x, toPixels(c.top + c.height) - y);
}

// The controls the frame moves, resizes, hides or repaints; the game's controls never follow the window.
constexpr Ctl kFrameDriven[] = {Ctl::IMG1, Ctl::IMG2, Ctl::IMG3, Ctl::IMG4, Ctl::IMG5, Ctl::IMG6, Ctl::IMG7,
                                Ctl::IMG8, Ctl::IMG9, Ctl::LBL1, Ctl::L1, Ctl::L2, Ctl::L3, Ctl::L4};

} // namespace

class Form1::StartupAdapter : public StartupWindow {
public:
    explicit StartupAdapter(Form1& form) : f(form) {}
    void setTitleStripColour(Rgb colour) override { f.control<LabelControl>(Ctl::LBL2)->setBackColour(colour); }
    void showLeftBorder() override {
        f.frame_.controls()[Ctl::L2].visible = true;
        f.control(Ctl::L2)->setVisible(true);
    }
    void setTitleStripWidth(long long twips) override {
        f.frame_.controls()[Ctl::LBL2].width = static_cast<double>(twips);
        QWidget* strip = f.control(Ctl::LBL2);
        strip->resize(toPixels(static_cast<double>(twips)), strip->height());
    }
    long long screenWidth() const override { return toTwips(f.services_.screen->geometry().width()); }
    long long screenHeight() const override { return toTwips(f.services_.screen->geometry().height()); }
    long long width() const override { return toTwips(f.width()); }
    long long height() const override { return toTwips(f.height()); }
    long long left() const override { return toTwips(f.x()); }
    long long top() const override { return toTwips(f.y()); }
    void setLeft(long long twips) override { f.move(toPixels(static_cast<double>(twips)), f.y()); }
    void setTop(long long twips) override { f.move(f.x(), toPixels(static_cast<double>(twips))); }
    void show() override {
        // The first layout runs before the window is first seen, so the stored design widths never show.
        f.Form_Resize();
        f.show();
    }

private:
    Form1& f;
};

class Form1::FrameAdapter : public FrameWindow {
public:
    explicit FrameAdapter(Form1& form) : f(form) {}
    bool minimized() const override { return f.windowState() & Qt::WindowMinimized; }
    double scaleWidth() const override { return toTwips(f.width()); }
    double scaleHeight() const override { return toTwips(f.height()); }
    double width() const override { return toTwips(f.width()); }
    double height() const override { return toTwips(f.height()); }
    void setLeft(double twips) override { f.move(toPixels(twips), f.y()); }
    void setTop(double twips) override { f.move(f.x(), toPixels(twips)); }
    void setWidth(double twips) override {
        f.resize(std::max(1, toPixels(twips)), f.height());
        f.Form_Resize();
    }
    void setHeight(double twips) override {
        f.resize(f.width(), std::max(1, toPixels(twips)));
        f.Form_Resize();
    }
    // Unmapping the window would make it flicker, drop the pointer grab of a grip drag and lose the keyboard
    // focus; suspending its painting gives the same picture.
    void hideWindow() override { f.setUpdatesEnabled(false); }
    void showWindow() override { f.setUpdatesEnabled(true); }
    void minimize() override { f.setWindowState(f.windowState() | Qt::WindowMinimized); }
    double screenWidth() const override { return toTwips(f.services_.screen->geometry().width()); }
    double screenHeight() const override { return toTwips(f.services_.screen->geometry().height()); }
    void processEvents() override { QCoreApplication::processEvents(); }
    void unload() override { f.close(); }
    void startSystemMove() override {
        QWindow* handle = f.windowHandle();
        if (handle && handle->startSystemMove())
            return;
        f.beginFallbackMove();
    }
    void controlsChanged() override { f.applyFrame(); }

private:
    Form1& f;
};

Form1::Form1(Services services)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), services_(services),
      frameWindow_(std::make_unique<FrameAdapter>(*this)), startupWindow_(std::make_unique<StartupAdapter>(*this)),
      frame_(*frameWindow_, game_) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(kForm1.caption));
    setWindowIcon(QIcon(loadPicture(kForm1.icon)));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, toQColor(kForm1.back));
    setPalette(pal);
    setAutoFillBackground(true);
    resize(toPixels(kForm1.width), toPixels(kForm1.height));
    createControls();
    wireHandlers();
    applyFrame();
}

Form1::~Form1() = default;

void Form1::createControls() {
    // Created back to front: a later sibling is drawn over an earlier one and takes the mouse first.
    for (auto it = kControls.rbegin(); it != kControls.rend(); ++it) {
        const ControlRow& r = *it;
        QWidget* w = nullptr;
        switch (r.kind) {
        case Kind::PictureBox:
            w = new PictureBox(r, this);
            break;
        case Kind::CommandButton:
            w = new GraphicalButton(r, this);
            break;
        case Kind::Label:
            w = new LabelControl(r, this);
            break;
        case Kind::Image: {
            auto* image = new ImageControl(r, this);
            image->setPicture(loadPicture(r.picture));
            w = image;
            break;
        }
        case Kind::Shape:
            w = new ShapeControl(r, this);
            break;
        case Kind::Line:
            w = new LineControl(r, this);
            break;
        case Kind::FileDialog:
            break; // the dialog is made when it is needed
        }
        if (!w)
            continue;
        controls_[static_cast<std::size_t>(r.id)] = w;
        if (r.kind != Kind::Line) {
            w->setGeometry(pixelRect(frame_.controls()[r.id]));
            w->setFont(r.font.family ? fontFor(r.font) : font());
        }
        if (r.growsWithText) {
            // Wraps at its width; its height is whatever the text needs.
            w->resize(w->width(), w->heightForWidth(w->width()));
        }
        w->setVisible(r.visible);
        // A screen reader names a control by its caption or tooltip, else by the name given for it.
        if (const char* name = r.accessibleName ? r.accessibleName : r.caption ? r.caption : r.tooltip)
            w->setAccessibleName(QString::fromUtf8(name));
        if (r.accessibleDescription)
            w->setAccessibleDescription(QString::fromUtf8(r.accessibleDescription));
    }
    // Tab order follows the tab indices of the controls that can take the focus.
    std::vector<const ControlRow*> focusable;
    for (const ControlRow& r : kControls) {
        if (r.tabIndex >= 0 && (r.kind == Kind::PictureBox || r.kind == Kind::CommandButton))
            focusable.push_back(&r);
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlRow* a, const ControlRow* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < focusable.size(); ++i)
        setTabOrder(control(focusable[i - 1]->id), control(focusable[i]->id));
    canvas_ = std::make_unique<PictureCanvas>(control<PictureBox>(Ctl::SCR)->picture());
    control(Ctl::SCR)->update();
}

void Form1::wireHandlers() {
    constexpr std::pair<Ctl, int> buttons[] = {
        {Ctl::Command1_0, 0}, {Ctl::Command1_1, 1}, {Ctl::Command1_2, 2}, {Ctl::Command1_3, 3}, {Ctl::Command1_4, 4}};
    for (auto [id, index] : buttons)
        connect(control<GraphicalButton>(id), &QPushButton::clicked, this, [this, i = index] { Command1_Click(i); });
    connect(control<GraphicalButton>(Ctl::Command2), &QPushButton::clicked, this, &Form1::Command2_Click);

    auto* panel = control<PictureBox>(Ctl::Picture3);
    connect(panel, &PictureBox::gotFocus, this, &Form1::Picture3_GotFocus);
    connect(panel, &PictureBox::lostFocus, this, &Form1::Picture3_LostFocus);
    connect(panel, &PictureBox::keyPress, this, &Form1::Picture3_KeyPress);

    auto* title = control<ImageControl>(Ctl::IMG1);
    connect(title, &ImageControl::mouseDown, this, [this](Qt::MouseButton, double, double, QPointF g) {
        lastPress_ = g;
        frame_.IMG1_MouseDown();
    });
    connect(title, &ImageControl::mouseMove, this, [this](double, double, QPointF g) { followFallbackMove(g); });
    connect(title, &ImageControl::mouseUp, this, [this] { endFallbackMove(); });
    auto* titleText = control<LabelControl>(Ctl::LBL1);
    connect(titleText, &LabelControl::mouseDown, this, [this](Qt::MouseButton, QPointF g) {
        lastPress_ = g;
        frame_.LBL1_MouseDown();
    });
    connect(titleText, &LabelControl::mouseMove, this, [this](QPointF g) { followFallbackMove(g); });
    connect(titleText, &LabelControl::mouseUp, this, [this] { endFallbackMove(); });
    connect(titleText, &LabelControl::doubleClicked, this, [this] { frame_.LBL1_DblClick(); });

    auto* close = control<ImageControl>(Ctl::IMG2);
    connect(close, &ImageControl::mouseDown, this, [this] { frame_.IMG2_MouseDown(); });
    connect(close, &ImageControl::mouseUp, this, [this] { frame_.IMG2_MouseUp(); });
    connect(close, &ImageControl::clicked, this, [this] { frame_.IMG2_Click(); });
    auto* minimise = control<ImageControl>(Ctl::IMG6);
    connect(minimise, &ImageControl::mouseDown, this, [this] { frame_.IMG6_MouseDown(); });
    connect(minimise, &ImageControl::mouseUp, this, [this] { frame_.IMG6_MouseUp(); });
    auto* maximise = control<ImageControl>(Ctl::IMG7);
    connect(maximise, &ImageControl::mouseDown, this, [this] { frame_.IMG7_MouseDown(); });
    connect(maximise, &ImageControl::mouseUp, this, [this] { frame_.IMG7_MouseUp(); });
    auto* restore = control<ImageControl>(Ctl::IMG8);
    connect(restore, &ImageControl::mouseDown, this, [this] { frame_.IMG8_MouseDown(); });
    connect(restore, &ImageControl::mouseUp, this, [this] { frame_.IMG8_MouseUp(); });

    auto* grip = control<ImageControl>(Ctl::IMG4);
    connect(grip, &ImageControl::mouseDown, this,
            [this](Qt::MouseButton, double x, double y, QPointF) { frame_.IMG4_MouseDown(x, y); });
    connect(grip, &ImageControl::mouseMove, this, [this](double x, double y, QPointF) { frame_.IMG4_MouseMove(x, y); });
    connect(grip, &ImageControl::mouseUp, this, [this] { frame_.IMG4_MouseUp(); });
}

void Form1::Form_Load() { zirk::Form_Load(*startupWindow_, game_); }

void Form1::Form_Resize() {
    if (inLayout_)
        return;
    if (laidOutFor_ == size() && !(windowState() & Qt::WindowMinimized))
        return;
    inLayout_ = true;
    frame_.Form_Resize();
    if (!(windowState() & Qt::WindowMinimized))
        laidOutFor_ = size();
    ++layouts_;
    inLayout_ = false;
}

void Form1::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (isVisible())
        Form_Resize();
}

void Form1::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // Coming back from the minimised state lays the frame out for whatever size the window has now.
    if (e->type() == QEvent::WindowStateChange && !(windowState() & Qt::WindowMinimized)) {
        laidOutFor_ = QSize();
        Form_Resize();
    }
}

void Form1::applyFrame() {
    const FrameState& s = frame_.controls();
    for (Ctl id : kFrameDriven) {
        QWidget* w = control(id);
        const ControlState& c = s[id];
        if (auto* line = qobject_cast<LineControl*>(w))
            line->setEnds(c.left, c.top, c.width, c.height);
        else
            w->setGeometry(pixelRect(c));
        if (auto* image = qobject_cast<ImageControl*>(w); image && c.picture != Ctl::Count)
            image->setPicture(control<ImageControl>(c.picture)->picture());
        if (w->isVisibleTo(this) != c.visible)
            w->setVisible(c.visible);
    }
}

void Form1::draw1() {
    zirk::draw1(game_, *canvas_);
    control(Ctl::SCR)->update();
}

void Form1::handleStep(int outcome) {
    control(Ctl::SCR)->update();
    switch (static_cast<StepOutcome>(outcome)) {
    case StepOutcome::Quit:
        services_.end->endNow();
        break;
    case StepOutcome::ExitReached:
        services_.box->tell(this, QString::fromUtf8(kExitMessage), QString::fromUtf8(kApplicationTitle));
        break;
    case StepOutcome::Drawn:
    case StepOutcome::Ignored:
        break;
    }
}

void Form1::Command1_Click(int Index) {
    constexpr Ctl members[] = {Ctl::Command1_0, Ctl::Command1_1, Ctl::Command1_2, Ctl::Command1_3, Ctl::Command1_4};
    if (Index < 0 || Index > 4)
        return;
    // The button is known by its caption, as the keys are known by their characters.
    const std::string caption = control<GraphicalButton>(members[Index])->text().toStdString();
    handleStep(static_cast<int>(step(game_, caption, CommandSource::Button, *canvas_)));
}

void Form1::Picture3_KeyPress(int KeyAscii) {
    handleStep(static_cast<int>(step(game_, keyText(KeyAscii), CommandSource::Key, *canvas_)));
}

void Form1::Command2_Click() {
    const std::optional<std::string> path = services_.chooser->chooseMaze(this);
    if (!path)
        return;
    loadChosenMaze(game_, *path, *canvas_);
    control(Ctl::SCR)->update();
}

void Form1::Picture3_GotFocus() { control<PictureBox>(Ctl::Picture3)->setBackColour(kPanelFocused); }
void Form1::Picture3_LostFocus() { control<PictureBox>(Ctl::Picture3)->setBackColour(kPanelUnfocused); }

void Form1::beginFallbackMove() {
    fallbackMoving_ = true;
    fallbackPress_ = lastPress_;
    fallbackOrigin_ = pos();
}

void Form1::followFallbackMove(QPointF globalPos) {
    if (!fallbackMoving_)
        return;
    move(fallbackOrigin_ + (globalPos - fallbackPress_).toPoint());
}

void Form1::endFallbackMove() { fallbackMoving_ = false; }

} // namespace zirk
