#include "app/mainform.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include "app/geometry.h"
#include "app/icon.h"
#include "engine/errdlg.h"

namespace tallix::gui {

using tallix::Cmd;
using tallix::Key;

namespace {

constexpr int kToolTipDuration = 600000; // ten minutes
constexpr int kDefaultButtonTime = 25;

QString Q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Proportional dialog font, tiny indicator font and the stack's monospaced
// font, each with the nearest stand-ins where the first choice is missing.
QFont DialogFont(int points, int dpi) {
    QFont f;
    f.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans",
                   "Nimbus Sans", "Helvetica", "DejaVu Sans"});
    f.setPixelSize(FontPixels(points, dpi));
    return f;
}

QFont SmallFont(int dpi) {
    QFont f;
    f.setFamilies({"Small Fonts", "Nimbus Sans Narrow", "Liberation Sans Narrow", "Arial Narrow",
                   "DejaVu Sans Condensed", "Nimbus Sans"});
    f.setPixelSize(FontPixels(6, dpi));
    return f;
}

QFont MonoFont(int dpi) {
    QFont f;
    if (QFontDatabase::hasFamily("Lucida Console"))
        f.setFamily("Lucida Console");
    else if (QFontDatabase::hasFamily("Courier New"))
        f.setFamily("Courier New");
    else
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setPixelSize(FontPixels(9, dpi));
    return f;
}

// Shrinks a control's font until its caption fits the control's width, so
// that substitute fonts wider than the intended ones never clip a caption.
void FitCaption(QWidget* w, const QString& caption, int margin) {
    QString text = caption;
    text.remove('&');
    QFont f = w->font();
    const int avail = w->width() - margin;
    const int minPixels = std::max(6, f.pixelSize() * 2 / 3);
    while (f.pixelSize() > minPixels && QFontMetrics(f).horizontalAdvance(text) > avail)
        f.setPixelSize(f.pixelSize() - 1);
    w->setFont(f);
}

struct KeyPlace {
    Key key;
    const char* caption;
    int left, top, width, height;
    int points; // 0: the window font
};

// Keypad: function rows, hexadecimal digits, number pad.
constexpr int kCol[] = {8, 40, 72, 104, 136, 168};
constexpr int kNumCol[] = {8, 56, 104, 152};

const KeyPlace kKeyPlaces[] = {
    {Key::KLast, "Last", kCol[0], 144, 30, 25, 0},
    {Key::KLog, "Lo&g", kCol[1], 144, 30, 25, 0},
    {Key::KLn, "&Ln", kCol[2], 144, 30, 25, 0},
    {Key::KMod, "&Mod", kCol[3], 144, 30, 25, 0},
    {Key::KRdc, "&Rdc", kCol[4], 144, 30, 25, 0},
    {Key::KShift, "Shift", kCol[5], 144, 30, 25, 0},
    {Key::KSin, "&Sin", kCol[0], 184, 30, 25, 0},
    {Key::KCos, "C&os", kCol[1], 184, 30, 25, 0},
    {Key::KTan, "&Tan", kCol[2], 184, 30, 25, 0},
    {Key::KSqrt, "S&qrt", kCol[3], 184, 30, 25, 0},
    {Key::KYToX, "&y *", kCol[4], 184, 30, 25, 0},
    {Key::KSwap, "S&wp", kCol[5], 184, 30, 25, 0},
    {Key::KEnter, "Enter", kCol[0], 224, 62, 25, 0},
    {Key::KPlusMinus, "\u00b1", kCol[2], 224, 30, 25, 12},
    {Key::KEex, "EE&X", kCol[3], 224, 30, 25, 0},
    {Key::KPi, "\u03c0", kCol[4], 224, 30, 25, 11},
    {Key::KBackspace, "\u21d0", kCol[5], 224, 30, 25, 11},
    {Key::KA, "A", kCol[0], 258, 30, 22, 0},
    {Key::KB, "B", kCol[1], 258, 30, 22, 0},
    {Key::KC, "C", kCol[2], 258, 30, 22, 0},
    {Key::KD, "D", kCol[3], 258, 30, 22, 0},
    {Key::KE, "E", kCol[4], 258, 30, 22, 0},
    {Key::KF, "F", kCol[5], 258, 30, 22, 0},
    {Key::K7, "7", kNumCol[0], 282, 46, 22, 0},
    {Key::K8, "8", kNumCol[1], 282, 46, 22, 0},
    {Key::K9, "9", kNumCol[2], 282, 46, 22, 0},
    {Key::KDiv, "\u00f7", kNumCol[3], 282, 46, 22, 12},
    {Key::K4, "4", kNumCol[0], 306, 46, 22, 0},
    {Key::K5, "5", kNumCol[1], 306, 46, 22, 0},
    {Key::K6, "6", kNumCol[2], 306, 46, 22, 0},
    {Key::KMult, "\u00d7", kNumCol[3], 306, 46, 22, 12},
    {Key::K1, "1", kNumCol[0], 330, 46, 22, 0},
    {Key::K2, "2", kNumCol[1], 330, 46, 22, 0},
    {Key::K3, "3", kNumCol[2], 330, 46, 22, 0},
    {Key::KMinus, "-", kNumCol[3], 330, 46, 22, 12},
    {Key::K0, "0", kNumCol[0], 354, 46, 22, 0},
    {Key::KDot, "", kNumCol[1], 354, 46, 22, 0}, // set from the decimal separator
    {Key::KSpace, "Spc", kNumCol[2], 354, 46, 22, 0},
    {Key::KPlus, "+", kNumCol[3], 354, 46, 22, 12},
};

struct LabelPlace {
    Key key;
    const char* name;
    const char* caption;
    int left, top, width;
};

// The shifted-function labels, 14 pixels above their keys.
const LabelPlace kLabelPlaces[] = {
    {Key::KLast, "LClr", "CLR", kCol[0], 130, 30},
    {Key::KLog, "L10x", "10*", kCol[1], 130, 30},
    {Key::KLn, "Lex", "e*", kCol[2], 130, 30},
    {Key::KMod, "LFact", "!", kCol[3], 130, 30},
    {Key::KRdc, "Lab", "a/b", kCol[4], 130, 30},
    {Key::KSin, "Lasin", "ASin", kCol[0], 170, 30},
    {Key::KCos, "Lacos", "ACos", kCol[1], 170, 30},
    {Key::KTan, "Latan", "ATan", kCol[2], 170, 30},
    {Key::KSqrt, "Lx2", "x\u00b2", kCol[3], 170, 30},
    {Key::KYToX, "Lxroot", "XRoot", kCol[4], 170, 30},
    {Key::KSwap, "L1x", "1/x", kCol[5], 170, 30},
    {Key::KEnter, "LEdit", "Edit", 10, 210, 62},
    {Key::KPlusMinus, "LAbs", "Abs", kCol[2], 210, 30},
    {Key::KEex, "LFix", "Fix", kCol[3], 210, 30},
    {Key::KPi, "LSigma", "\u03a3", kCol[4], 210, 30},
    {Key::KBackspace, "LDrop", "Drop", kCol[5], 210, 30},
};

} // namespace

void TDblClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Q_EMIT doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}

// ---- creation -------------------------------------------------------------

TMainForm::TMainForm(char decimalChar, persist::SettingsStore* store)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      calc_(*this, decimalChar), store_(store) {
    FormCreate(decimalChar);
}

TMainForm::~TMainForm() {
    if (qApp) qApp->removeEventFilter(this);
}

void TMainForm::FormCreate(char decimalChar) {
    setObjectName("MainForm");
    setWindowTitle("Tallix");
    setWindowIcon(AppIcon());
    dpi_ = logicalDpiY() > 0 ? logicalDpiY() : 96;
    setFont(DialogFont(8, dpi_));

    client_ = new QWidget(this);
    client_->setObjectName("ClientArea");
    setCentralWidget(client_);
    const QSize full = FullClientSize(dpi_);
    client_->setFixedSize(full);
    fullHeight_ = full.height();

    BuildStrip(client_);
    BuildStackDisplay(client_);
    BuildKeypad(client_);
    BuildMenus();

    keyTimer_ = new QTimer(this);
    keyTimer_->setObjectName("KeyTimer");
    keyTimer_->setSingleShot(true);
    keyTimer_->setInterval(kDefaultButtonTime);

    // The decimal-point key shows a raised dot for a full stop, otherwise
    // the separator itself.
    QPushButton* kDot = KeyButton(Key::KDot);
    if (decimalChar == '.') {
        kDot->setText(QString(QChar(0x00b7)));
        QFont f = font();
        f.setPixelSize(FontPixels(14, dpi_));
        kDot->setFont(f);
    } else {
        kDot->setText(QString(QChar::fromLatin1(decimalChar)));
    }

    // Saved settings and the saved stack: after the controls exist and
    // before the keys are set up for the base and the first screen is drawn.
    if (store_) LoadSavedState();

    qApp->installEventFilter(this);
    calc_.RefreshStackDisplay();
    calc_.ResetEntry();
    RefreshView();
    SetClientHeight(fullHeight_);
}

void TMainForm::BuildStrip(QWidget* client) {
    auto s = [this](int v) { return Scale(v, dpi_); };
    auto* bevel = new QFrame(client);
    bevel->setObjectName("Bevel1");
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(0, 0, client->width(), 2);

    auto* funny = new QLabel("Scientific Expendable", client);
    funny->setObjectName("FunnyLabel");
    funny->setFont(SmallFont(dpi_));
    funny->setGeometry(s(8), s(4), s(77), s(10));
    FitCaption(funny, funny->text(), 0);

    angleL_ = new TDblClickLabel("RAD", client);
    angleL_->setObjectName("AngleL");
    baseL_ = new TDblClickLabel("DEC", client);
    baseL_->setObjectName("BaseL");
    for (TDblClickLabel* l : {angleL_, baseL_}) {
        l->setFont(SmallFont(dpi_));
        // Wide enough for the longest caption, "GRAD".
        l->setFixedSize(QFontMetrics(l->font()).horizontalAdvance("GRAD") + 2, s(10));
    }
    angleL_->move(s(108), s(4));
    baseL_->move(s(140), s(4));
    connect(angleL_, &TDblClickLabel::doubleClicked, this, &TMainForm::AngleLDblClick);
    connect(baseL_, &TDblClickLabel::doubleClicked, this, &TMainForm::BaseLDblClick);
}

void TMainForm::BuildStackDisplay(QWidget* client) {
    auto s = [this](int v) { return Scale(v, dpi_); };
    panelScreen_ = new QFrame(client);
    panelScreen_->setObjectName("PanelScreen");
    panelScreen_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panelScreen_->setLineWidth(2);
    panelScreen_->setGeometry(s(8), s(16), s(189), s(109));
    panelScreen_->setFont(MonoFont(dpi_));

    const QRect inner = panelScreen_->contentsRect();
    QPalette windowColours = panelScreen_->palette();
    windowColours.setColor(QPalette::Window, windowColours.color(QPalette::Base));

    const int row = s(15);
    auto* numbers = new QWidget(panelScreen_);
    numbers->setObjectName("PanelNumbers");
    numbers->setGeometry(inner.x(), inner.y(), s(23), inner.height());
    numbers->setAutoFillBackground(true);
    numbers->setPalette(windowColours);
    for (int k = 1; k <= 6; ++k) {
        auto* l = new QLabel(QString::number(k) + ":", numbers);
        l->setObjectName(QString("L%1").arg(k));
        l->setGeometry(0, (6 - k) * row, numbers->width() - 1, row);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        indexLabels_[k - 1] = l;
    }

    scrollBarWidth_ = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    panelScrollBar_ = new QWidget(panelScreen_);
    panelScrollBar_->setObjectName("PanelScrollBar");
    panelScrollBar_->setGeometry(inner.right() + 1 - scrollBarWidth_, inner.y(), scrollBarWidth_,
                                 inner.height());
    scrollBar_ = new QScrollBar(Qt::Vertical, panelScrollBar_);
    scrollBar_->setObjectName("ScrollBar");
    scrollBar_->setGeometry(0, 0, scrollBarWidth_, inner.height());
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) {
        // Steps follow the core's small and large changes rather than the
        // widget's page, which is the thumb size.
        const ScrollBarState& sb = calc_.ScrollBar;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            scrollBar_->setSliderPosition(sb.Position + sb.SmallChange);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            scrollBar_->setSliderPosition(sb.Position - sb.SmallChange);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            scrollBar_->setSliderPosition(sb.Position + sb.LargeChange);
            break;
        case QAbstractSlider::SliderPageStepSub:
            scrollBar_->setSliderPosition(sb.Position - sb.LargeChange);
            break;
        default: break;
        }
    });
    connect(scrollBar_, &QScrollBar::valueChanged, this, &TMainForm::ScrollBarScroll);

    panelLines_ = new QWidget(panelScreen_);
    panelLines_->setObjectName("PanelLines");
    panelLines_->setGeometry(inner.x() + numbers->width(), inner.y(),
                             inner.width() - numbers->width() - scrollBarWidth_, inner.height());
    auto* topLines = new QWidget(panelLines_);
    topLines->setObjectName("PanelTopLines");
    topLines->setGeometry(0, 0, panelLines_->width(), 6 * row);
    topLines->setAutoFillBackground(true);
    topLines->setPalette(windowColours);
    for (int k = 1; k <= 6; ++k) {
        auto* l = new QLabel(topLines);
        l->setObjectName(QString("Line%1").arg(k));
        l->setGeometry(0, (6 - k) * row, topLines->width(), row);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setTextFormat(Qt::PlainText);
        l->setToolTipDuration(kToolTipDuration);
        lines_[k - 1] = l;
    }
    line0_ = new QLineEdit(panelLines_);
    line0_->setObjectName("Line0");
    line0_->setGeometry(0, 6 * row, panelLines_->width(), inner.height() - 6 * row);
    line0_->setReadOnly(true);
    line0_->setFrame(false);
    line0_->setContextMenuPolicy(Qt::NoContextMenu);
    line0_->setAttribute(Qt::WA_InputMethodEnabled, false);
    line0_->setAcceptDrops(false);
    line0_->setTextMargins(0, 0, 0, 0);
    line0_->setPalette(windowColours);
}

void TMainForm::BuildKeypad(QWidget* client) {
    auto s = [this](int v) { return Scale(v, dpi_); };
    for (const KeyPlace& p : kKeyPlaces) {
        auto* b = new QPushButton(QString::fromUtf8(p.caption), client);
        b->setObjectName(QString::fromLatin1(tallix::KeyInfo(p.key).control));
        b->setGeometry(s(p.left), s(p.top), s(p.width), s(p.height));
        b->setFlat(true);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        if (p.points != 0) {
            QFont f = font();
            f.setPixelSize(FontPixels(p.points, dpi_));
            b->setFont(f);
        }
        FitCaption(b, b->text(), 4);
        keys_[static_cast<int>(p.key)] = b;
        if (p.key == Key::KShift)
            connect(b, &QPushButton::clicked, this, &TMainForm::KShiftClick);
        else
            connect(b, &QPushButton::clicked, this, [this, key = p.key] { KeyClick(key); });
    }
    QFont labelFont = font();
    labelFont.setPixelSize(FontPixels(9, dpi_));
    for (const LabelPlace& p : kLabelPlaces) {
        auto* l = new QLabel(QString::fromUtf8(p.caption), client);
        l->setObjectName(p.name);
        l->setFont(labelFont);
        l->setGeometry(s(p.left), s(p.top), s(p.width), s(13));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        l->setEnabled(false);
        FitCaption(l, l->text(), 2);
        shiftLabels_[static_cast<int>(p.key)] = l;
    }
}

QAction* TMainForm::AddCommand(QMenu* menu, const char* name, const char* caption, Cmd cmd,
                               const QKeySequence& shortcut) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    connect(a, &QAction::triggered, this, [this, cmd] { RunCommand(cmd); });
    return a;
}

void TMainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("File1");
    QAction* open = file->addAction("&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), this,
                                    &TMainForm::Open1Click);
    open->setObjectName("Open1");
    QAction* save = file->addAction("&Save...", QKeySequence(Qt::CTRL | Qt::Key_S), this,
                                    &TMainForm::Save1Click);
    save->setObjectName("Save1");
    file->addSeparator()->setObjectName("N3");
    QAction* keys =
        file->addAction("&Keys...", QKeySequence(Qt::Key_F1), this, &TMainForm::Keys1Click);
    keys->setObjectName("Keys1");
    QAction* about = file->addAction("&About...", this, &TMainForm::About1Click);
    about->setObjectName("About1");
    file->addSeparator();
    QAction* exit =
        file->addAction("E&xit", QKeySequence(Qt::ALT | Qt::Key_F4), this, &TMainForm::Exit1Click);
    exit->setObjectName("Exit1");

    QMenu* menus = bar->addMenu("Men&us");
    menus->setObjectName("Menus1");
    QMenu* hyp = menus->addMenu("&Hyp");
    hyp->setObjectName("Hyberbolic1");
    AddCommand(hyp, "SinH1", "&SinH", Cmd::SinH);
    AddCommand(hyp, "ASinH1", "AS&inH", Cmd::ASinH);
    hyp->addSeparator();
    AddCommand(hyp, "CosH1", "&CosH", Cmd::CosH);
    AddCommand(hyp, "ACosH1", "AC&osH", Cmd::ACosH);
    hyp->addSeparator();
    AddCommand(hyp, "TanH1", "&TanH", Cmd::TanH);
    AddCommand(hyp, "ATanH1", "AT&anH", Cmd::ATanH);

    QMenu* logic = menus->addMenu("&Logic");
    logic->setObjectName("Logic1");
    AddCommand(logic, "And1", "&And", Cmd::And);
    AddCommand(logic, "Or1", "&Or", Cmd::Or);
    AddCommand(logic, "Xor1", "&Xor", Cmd::Xor);
    AddCommand(logic, "Not1", "&Not", Cmd::Not);
    logic->addSeparator();
    AddCommand(logic, "ShiftL1", "Shift &Left", Cmd::SL);
    AddCommand(logic, "ShiftR1", "Shift &Right", Cmd::SR);
    AddCommand(logic, "RotateL1", "Ro&tate Left", Cmd::RL);
    AddCommand(logic, "RotateR1", "Rotat&e Right", Cmd::RR);
    logic->addSeparator();
    AddCommand(logic, "STWS1", "&Store Word Size", Cmd::STWS);
    AddCommand(logic, "RCWS1", "Recall &Word Size", Cmd::RCWS);

    QMenu* misc = menus->addMenu("&Misc");
    misc->setObjectName("MIsc1");
    AddCommand(misc, "Gcd1", "&Gcd", Cmd::Gcd);
    AddCommand(misc, "Lcm1", "&Lcm", Cmd::Lcm);
    misc->addSeparator();
    AddCommand(misc, "Hypotenuse1", "&Hypotenuse", Cmd::Hypot);

    QMenu* parts = menus->addMenu("&Parts");
    parts->setObjectName("Math1");
    AddCommand(parts, "Round1", "&Round", Cmd::Round);
    AddCommand(parts, "Floor2", "&Floor", Cmd::Floor);
    AddCommand(parts, "Floor1", "&Ceiling", Cmd::Ceil);
    parts->addSeparator();
    AddCommand(parts, "CropRound1", "Crop (R&ound)", Cmd::CropR);
    AddCommand(parts, "CropTrunc1", "Crop (Tr&unc)", Cmd::CropT);
    parts->addSeparator();
    AddCommand(parts, "Integer1", "&Integer Part", Cmd::IP);
    AddCommand(parts, "FractionalPart1", "Fr&actional Part", Cmd::FP);
    parts->addSeparator();
    AddCommand(parts, "Mantissa1", "&Mantissa", Cmd::Mant);
    AddCommand(parts, "Exponent1", "&Exponent", Cmd::Xpon);

    QMenu* stack = menus->addMenu("&Stack");
    stack->setObjectName("Stack2");
    AddCommand(stack, "Dup21", "Dup &2", Cmd::Dup2, QKeySequence(Qt::CTRL | Qt::Key_2));
    AddCommand(stack, "Depth1", "&Depth", Cmd::Depth, QKeySequence(Qt::CTRL | Qt::Key_E));
    stack->addSeparator();
    AddCommand(stack, "Rotate1", "&Rotate", Cmd::Rotate, QKeySequence(Qt::CTRL | Qt::Key_R));
    AddCommand(stack, "Roll1", "Ro&ll", Cmd::Roll, QKeySequence(Qt::CTRL | Qt::Key_L));

    QMenu* stat = menus->addMenu("S&tat");
    stat->setObjectName("Stat1");
    AddCommand(stat, "Random1", "&Random", Cmd::Random);
    stat->addSeparator();
    AddCommand(stat, "Combinations1", "&Combinations", Cmd::Comb);
    AddCommand(stat, "Permutations1", "&Permutations", Cmd::Perm);

    QMenu* options = bar->addMenu("Opt&ions");
    options->setObjectName("Options1");
    connect(options, &QMenu::aboutToShow, this,
            [this] { alwaysOnTop_->setChecked(StaysOnTop()); }); // Options1Click

    QMenu* angle = options->addMenu("&Angle");
    angle->setObjectName("Angle1");
    angleGroup_ = new QActionGroup(this);
    const struct {
        const char* name;
        const char* caption;
        int mode;
    } angles[] = {{"Cycles1", "&Cycles", 0},
                  {"Degrees1", "&Degrees", 1},
                  {"Radians1", "&Radians", 2},
                  {"Gradients1", "&Gradients", 3}};
    for (const auto& u : angles) {
        QAction* a = angle->addAction(u.caption);
        a->setObjectName(u.name);
        a->setCheckable(true);
        a->setData(u.mode);
        angleGroup_->addAction(a);
        connect(a, &QAction::triggered, this, [this, m = u.mode] { AngleUnitsClick(m); });
    }
    connect(angle, &QMenu::aboutToShow, this, &TMainForm::RefreshView); // Angle1Click

    QMenu* base = options->addMenu("&Base");
    base->setObjectName("Base1");
    baseGroup_ = new QActionGroup(this);
    const struct {
        const char* name;
        const char* caption;
        Cmd cmd;
        QKeySequence shortcut;
        Base base;
    } bases[] = {
        {"Binary1", "&Binary", Cmd::Bin, QKeySequence(Qt::CTRL | Qt::Key_B), Base::BIN},
        {"Octal1", "&Octal", Cmd::Oct, QKeySequence(Qt::CTRL | Qt::Key_8), Base::OCT},
        {"Decimal1", "&Decimal", Cmd::Dec, QKeySequence(Qt::CTRL | Qt::Key_D), Base::DEC},
        {"Hexadecimal1", "&Hexadecimal", Cmd::Hex, QKeySequence(Qt::CTRL | Qt::Key_H), Base::HEX},
    };
    for (const auto& b : bases) {
        QAction* a = base->addAction(b.caption);
        a->setObjectName(b.name);
        a->setCheckable(true);
        a->setShortcut(b.shortcut);
        a->setData(static_cast<int>(b.base));
        baseGroup_->addAction(a);
        connect(a, &QAction::triggered, this, [this, c = b.cmd] { BaseClick(c); });
    }
    connect(base, &QMenu::aboutToShow, this, &TMainForm::RefreshView); // Base1Click

    options->addSeparator();
    alwaysOnTop_ = options->addAction("Stay On &Top", this, &TMainForm::AlwaysOnTop1Click);
    alwaysOnTop_->setObjectName("AlwaysOnTop1");
    alwaysOnTop_->setCheckable(true);
    options->addSeparator();
    hideKeyboard_ = options->addAction("Hide &Keyboard", this, &TMainForm::HideKeyboard1Click);
    hideKeyboard_->setObjectName("HideKeyboard1");
    hideKeyboard_->setCheckable(true);
    hideNumbers_ = options->addAction("Hide &Numbers", this, &TMainForm::HideNumbers1Click);
    hideNumbers_->setObjectName("HideNumbers1");
    hideNumbers_->setCheckable(true);
}

QAction* TMainForm::Action(const char* name) const { return findChild<QAction*>(name); }

QLabel* TMainForm::ShiftLabel(Key key) const { return shiftLabels_[static_cast<int>(key)]; }

// ---- the view ---------------------------------------------------------------

void TMainForm::RefreshView() {
    const auto lines = calc_.StackLines();
    for (int k = 0; k < 6; ++k) {
        const QString text = Q(lines[k].text);
        lines_[k]->setText(text);
        lines_[k]->setToolTip(text);
        indexLabels_[k]->setText(Q(lines[k].label));
    }

    const ScrollBarState& sb = calc_.ScrollBar;
    {
        const QSignalBlocker block(scrollBar_);
        // The widget's maximum excludes the page: the thumb then covers six
        // of the stack's levels and its top end means Max - PageSize.
        scrollBar_->setRange(0, std::max(0, sb.Max - sb.PageSize));
        scrollBar_->setPageStep(std::max(1, sb.PageSize));
        scrollBar_->setSingleStep(std::max(1, sb.SmallChange));
        scrollBar_->setValue(sb.Position);
    }
    const int barPanel = sb.Visible ? scrollBarWidth_ : 0;
    if (panelScrollBar_->width() != barPanel) {
        const QRect inner = panelScreen_->contentsRect();
        panelScrollBar_->setGeometry(inner.right() + 1 - barPanel, inner.y(), barPanel,
                                     inner.height());
        scrollBar_->setVisible(sb.Visible);
        const int linesWidth = inner.right() + 1 - barPanel - panelLines_->x();
        panelLines_->resize(linesWidth, panelLines_->height());
        for (QWidget* w : panelLines_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            w->resize(linesWidth, w->height());
        for (QLabel* l : lines_) l->resize(linesWidth, l->height());
    }

    line0_->setText(Q(calc_.Entry));
    line0_->setCursorPosition(static_cast<int>(line0_->text().size()));

    baseL_->setText(tallix::BaseCaption(calc_.CurrentBase));
    angleL_->setText(tallix::AngleCaption(calc_.AngleMode));
    for (QAction* a : baseGroup_->actions())
        a->setChecked(a->data().toInt() == static_cast<int>(calc_.CurrentBase));
    for (QAction* a : angleGroup_->actions()) a->setChecked(a->data().toInt() == calc_.AngleMode);

    // The keys the base accepts.
    for (const tallix::KeyDef& def : tallix::KeyTable())
        keys_[static_cast<int>(def.key)]->setEnabled(calc_.KeyEnabled(def.key));

    keys_[static_cast<int>(Key::KShift)]->setChecked(calc_.ShiftDown);
    SetShiftState(calc_.ShiftDown);
}

void TMainForm::FocusEntry() {
    if (line0_->isVisible()) line0_->setFocus(Qt::OtherFocusReason);
    line0_->setCursorPosition(static_cast<int>(line0_->text().size()));
}

void TMainForm::ScrollBarScroll(int position) {
    calc_.ScrollBarScroll(position);
    RefreshView();
    FocusEntry();
}

// ---- commands ---------------------------------------------------------------

void TMainForm::RunCommand(Cmd cmd) {
    calc_.Run(cmd);
    RefreshView();
    FocusEntry();
}

void TMainForm::BaseClick(Cmd cmd) { RunCommand(cmd); }

void TMainForm::AngleUnitsClick(int mode) {
    calc_.SelectAngleMode(mode);
    RefreshView();
}

void TMainForm::BaseLDblClick() {
    switch (calc_.CurrentBase) {
    case Base::BIN: BaseClick(Cmd::Oct); break;
    case Base::OCT: BaseClick(Cmd::Dec); break;
    case Base::DEC: BaseClick(Cmd::Hex); break;
    case Base::HEX: BaseClick(Cmd::Bin); break;
    }
}

void TMainForm::AngleLDblClick() { AngleUnitsClick((calc_.AngleMode + 1) % 4); }

void TMainForm::ShowError(const std::string& message) {
    // The window shows the state the error left before the dialog opens.
    RefreshView();
    if (!errDlg_) {
        QMessageBox::critical(this, "Tallix Error", Q(message));
        return;
    }
    const QRect panel(panelScreen_->mapToGlobal(QPoint(0, 0)), panelScreen_->size());
    QScreen* scr = screen() ? screen() : QGuiApplication::primaryScreen();
    errDlg_->ShowMessage(Q(message), panel, frameGeometry(), scr->geometry(), StaysOnTop());
    activateWindow();
    FocusEntry();
}

// ---- window commands -------------------------------------------------------

void TMainForm::SetButtonTime(int ms) { keyTimer_->setInterval(std::clamp(ms, 1, 1000)); }

int TMainForm::ButtonTime() const { return keyTimer_->interval(); }

void TMainForm::SetClientHeight(int height) {
    client_->setFixedHeight(height);
    const int bar = menuBar()->heightForWidth(client_->width());
    const int barHeight = bar > 0 ? bar : menuBar()->sizeHint().height();
    setFixedSize(client_->width(), barHeight + height);
}

void TMainForm::showEvent(QShowEvent* event) {
    // FormShow: every showing sizes the window and arranges it.
    const QSize full = FullClientSize(dpi_);
    client_->setFixedSize(full);
    fullHeight_ = client_->height();
    ArrangeLayout();
    QMainWindow::showEvent(event);
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FocusEntry(); // FormActivate
    return QMainWindow::event(event);
}

void TMainForm::ArrangeLayout() {
    if (hideKeyboard_->isChecked() && hideNumbers_->isChecked()) hideNumbers_->setChecked(false);
    const bool keyboard = hideKeyboard_->isChecked();
    for (Key k : {Key::KLast, Key::KLog, Key::KLn, Key::KMod, Key::KRdc})
        shiftLabels_[static_cast<int>(k)]->setVisible(!keyboard);
    int height = fullHeight_;
    if (keyboard)
        height = KeyboardHiddenHeight(dpi_);
    else if (hideNumbers_->isChecked())
        height = NumbersHiddenHeight(dpi_);
    SetClientHeight(height);
}

void TMainForm::HideKeyboard1Click() {
    // The action has already toggled its own check mark.
    hideNumbers_->setChecked(false);
    ArrangeLayout();
}

void TMainForm::HideNumbers1Click() {
    hideKeyboard_->setChecked(false);
    ArrangeLayout();
}

bool TMainForm::StaysOnTop() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void TMainForm::AlwaysOnTop1Click() {
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, alwaysOnTop_->isChecked());
    if (QWindow* w = windowHandle()) {
        // Changed in place: re-creating the window would hide and move it.
        overrideWindowFlags(flags);
        w->setFlags(flags);
    } else {
        setWindowFlags(flags);
    }
    FocusEntry();
}

void TMainForm::About1Click() {
    if (!calc_.CommitEntry()) {
        RefreshView();
        return;
    }
    // The entered number is on the stack now; left in the entry line it
    // would be entered a second time by the next Enter.
    calc_.ResetEntry();
    RefreshView();
    QMessageBox box(QMessageBox::NoIcon, "About Tallix",
                    QString("Tallix %1\nAn RPN scientific calculator.").arg(TALLIX_GUI_VERSION),
                    QMessageBox::Ok, this);
    box.setObjectName("AboutBox");
    box.setIconPixmap(AppPixmap());
    box.exec();
    FocusEntry();
}

void TMainForm::Keys1Click() {
    QString text = Q(std::string(tallix::KeysHelpText()));
    text.replace("\r\n", "\n");
    QMessageBox box(QMessageBox::Information, "Information", text, QMessageBox::Ok, this);
    box.setObjectName("KeysBox");
    box.setTextFormat(Qt::PlainText);
    box.exec();
    FocusEntry();
}

void TMainForm::Exit1Click() { close(); }

} // namespace tallix::gui
