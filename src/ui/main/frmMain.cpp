#include "ui/main/frmMain.h"

#include "calendar/CalendarPart.h"
#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "data/modDB.h"
#include "platform/Clock.h"
#include "security/Preferences.h"
#include "thoughts/ThoughtsPart.h"
#include "ui/main/AddressBookPart.h"
#include "ui/widgets/ImageList.h"
#include "ui/widgets/ListBar.h"
#include "ui/widgets/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

frmMain::frmMain() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pimora - Personal Information Manager"));
    resize(TwipsToPixels(15360), TwipsToPixels(11520));
    BuildMenus();
    BuildFrames();
    calendar_ = new CalendarPart(fraFunc(kFunctionCalendar), mnuCal, finder);
    thoughts_ = new ThoughtsPart(fraFunc(kFunctionThoughts), mnuThoughts, finder);
    addressBook_ = new AddressBookPart(fraFunc(kFunctionAddressBook), mnuAddBook);
    auto* sb = new QStatusBar(this);
    sb->setObjectName(QStringLiteral("sbMain"));
    sbMainDate = new QLabel(sb);
    sbMainDate->setObjectName(QStringLiteral("sbMain.Panel(1)"));
    sb->addWidget(sbMainDate);
    setStatusBar(sb);
}

frmMain::~frmMain() = default;

QAction* frmMain::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void frmMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    auto menu = [&](const QString& name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    auto item = [&](QMenu* in, const QString& name, const QString& caption,
                    const QKeySequence& shortcut = {}) {
        QAction* a = in->addAction(caption);
        a->setObjectName(name);
        a->setShortcut(shortcut);
        return a;
    };
    mnuFile = menu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    connect(item(mnuFile, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit"),
                 QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &QWidget::close);

    mnuFunctions = menu(QStringLiteral("mnuFunctions"), QStringLiteral("F&unctions"));
    connect(item(mnuFunctions, QStringLiteral("mnuFunctionsCalendar"),
                 QStringLiteral("Switch to &Calendar"), QKeySequence(Qt::CTRL | Qt::Key_F1)),
            &QAction::triggered, this, [this] { ChooseFunctionFromMenu(kFunctionCalendar); });
    connect(item(mnuFunctions, QStringLiteral("mnuFunctionsThoughts"),
                 QStringLiteral("Switch to &Thoughts"), QKeySequence(Qt::CTRL | Qt::Key_F2)),
            &QAction::triggered, this, [this] { ChooseFunctionFromMenu(kFunctionThoughts); });
    connect(item(mnuFunctions, QStringLiteral("mnuFunctionsAddBook"),
                 QStringLiteral("Switch to Address &Book"), QKeySequence(Qt::CTRL | Qt::Key_F3)),
            &QAction::triggered, this, [this] { ChooseFunctionFromMenu(kFunctionAddressBook); });

    // Each function fills its own menu.
    mnuCal = menu(QStringLiteral("mnuCal"), QStringLiteral("&Calendar"));
    mnuThoughts = menu(QStringLiteral("mnuThoughts"), QStringLiteral("&Thoughts"));
    mnuAddBook = menu(QStringLiteral("mnuAddBook"), QStringLiteral("&Address Book"));

    // The preferences and help come with their dialogs; until then the items stay off.
    mnuOptions = menu(QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    item(mnuOptions, QStringLiteral("mnuPref"), QStringLiteral("&Preferences..."))
        ->setEnabled(false);
    mnuHelp = menu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    item(mnuHelp, QStringLiteral("mnuProgHelp"), QStringLiteral("&Program Help"))
        ->setEnabled(false);
    mnuHelp->addSeparator();
    item(mnuHelp, QStringLiteral("mnuReadMe"), QStringLiteral("Read Me"))->setEnabled(false);
    item(mnuHelp, QStringLiteral("mnuAbout"), QStringLiteral("About Pimora"))->setEnabled(false);
}

void frmMain::BuildFrames() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    auto* row = new QHBoxLayout(central);
    row->setContentsMargins(TwipsToPixels(60), TwipsToPixels(120), TwipsToPixels(60), 0);

    lstbarMain = new ListBar(central);
    lstbarMain->setObjectName(QStringLiteral("lstbarMain"));
    lstbarMain->setFixedWidth(TwipsToPixels(1335));
    connect(lstbarMain, &ListBar::ItemClick, this, &frmMain::lstbarMain_ItemClick);
    row->addWidget(lstbarMain);

    auto* frames = new QWidget(central);
    frames->setObjectName(QStringLiteral("fraFuncPile"));
    auto* pile = new QGridLayout(frames);
    pile->setContentsMargins(0, 0, 0, 0);
    row->addWidget(frames, 1);

    const std::pair<int, const char*> functions[] = {{kFunctionCalendar, "Calendar"},
                                                     {kFunctionThoughts, "Thoughts"},
                                                     {kFunctionAddressBook, "Address Book"}};
    for (const auto& [index, title] : functions) {
        auto* frame = new QFrame(frames);
        frame->setObjectName(QStringLiteral("fraFunc(%1)").arg(index));
        frame->setVisible(false);
        auto* column = new QVBoxLayout(frame);
        auto* label = new QLabel(QString::fromLatin1(title), frame);
        label->setObjectName(QStringLiteral("lblFunc(%1)").arg(index));
        QFont big = label->font();
        big.setPointSize(big.pointSize() + 8);
        big.setBold(true);
        label->setFont(big);
        label->setMinimumHeight(TwipsToPixels(555));
        column->addWidget(label);
        pile->addWidget(frame, 0, 0);
        fraFunc_[static_cast<size_t>(index)] = frame;
        lblFunc_[static_cast<size_t>(index)] = label;
    }
    setCentralWidget(central);
}

void frmMain::Load() {
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
    }
    show();
}

void frmMain::Form_Load() {
    gCurrentFunction = kFunctionCalendar;
    if (!CheckVersion())
        return; // shown by the caller without its set-up
    LoadPreferences();
    SetupStatusBar();
    BuildListBar();
    BuildCalendarTab();
    BuildThoughtsTab();
    BuildAddBookTab();
    thoughts_->bThoughtsLoaded = false;
    HideAllFrames();
    fraFunc(gCurrentFunction)->setVisible(true);
    Form_Resize();
    ActivateFrame(gCurrentFunction);
    show();
}

bool frmMain::CheckVersion() {
    return CheckDBVersion();
}

void frmMain::LoadPreferences() {
    ::LoadPreferences([this](bool enable) { ApplyToolTips(enable); });
}

void frmMain::ApplyToolTips(bool enable) {
    const std::pair<const char*, const char*> hints[] = {
        {"lvwABContactLists", "Right-click for Contact List commands"},
        {"lvwABContacts", "Right-click for Contact commands"},
        {"tvwThoughts", "Right-click for Node commands"}};
    for (const auto& [name, hint] : hints)
        if (QWidget* w = findChild<QWidget*>(QString::fromLatin1(name))) {
            w->setToolTip(enable ? QString::fromLatin1(hint) : QString());
            w->update();
        }
}

void frmMain::SetupStatusBar() {
    sbMainDate->setText(VbFormat(Clock::Today(), QStringLiteral("d mmm yyyy")));
}

void frmMain::BuildListBar() {
    lstbarMain->Clear();
    lstbarMain->SetBar(QStringLiteral("Functions"), QStringLiteral("Functions"));
    lstbarMain->AddItem(QStringLiteral("Item2"), QStringLiteral("Calendar"), ImageListIcon(27),
                        QStringLiteral("Calendar Function"));
    lstbarMain->AddItem(QStringLiteral("Item5"), QStringLiteral("Thoughts"), ImageListIcon(35),
                        QStringLiteral("Thoughts Function"));
}

void frmMain::BuildCalendarTab() {
    calendar_->BuildCalendarTab();
}

void frmMain::BuildThoughtsTab() {
    thoughts_->BuildThoughtsTab();
}

void frmMain::BuildAddBookTab() {
    addressBook_->BuildAddBookTab();
}

// Qt's layouts already follow the window's size; the fixed resize rules come with the layout.
void frmMain::Form_Resize() {}

void frmMain::RefreshThoughtsTree() {
    thoughts_->RefreshThoughtsTree();
}

void frmMain::HideAllFrames() {
    for (QFrame* f : fraFunc_)
        if (f)
            f->setVisible(false);
}

void frmMain::FunctionsActivate(short index) {
    HideAllFrames();
    if (QFrame* f = fraFunc(index))
        f->setVisible(true);
    Form_Resize();
    ActivateFrame(index);
}

void frmMain::ActivateFrame(short index) {
    try {
        mnuCal->menuAction()->setVisible(false);
        mnuThoughts->menuAction()->setVisible(false);
        mnuAddBook->menuAction()->setVisible(false);
        if (index == kFunctionCalendar)
            mnuCal->menuAction()->setVisible(true);
        else if (index == kFunctionThoughts)
            mnuThoughts->menuAction()->setVisible(true);
        else if (index == kFunctionAddressBook)
            mnuAddBook->menuAction()->setVisible(true);
        if (index == kFunctionThoughts && !thoughts_->bThoughtsLoaded)
            RefreshThoughtsTree();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while attempting to Activate the Frame!"),
                  QStringLiteral("Frame Error!"), e);
    }
}

void frmMain::lstbarMain_ItemClick(const QString& caption) {
    if (caption == QLatin1String("Calendar"))
        gCurrentFunction = kFunctionCalendar;
    else if (caption == QLatin1String("Thoughts"))
        gCurrentFunction = kFunctionThoughts;
    HideAllFrames();
    fraFunc(gCurrentFunction)->setVisible(true);
    Form_Resize();
    ActivateFrame(gCurrentFunction);
}

void frmMain::ChooseFunctionFromMenu(short index) {
    gCurrentFunction = index;
    Form_Resize();
    FunctionsActivate(index);
}

void frmMain::ProggyUnloadStuff() {
    calendar_->SavePendingWork();
    thoughts_->SaveThought();
}

void frmMain::Form_Unload() {
    ProggyUnloadStuff();
    CloseDatabase();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        Form_Unload();
    }
    event->accept();
}

frmMain* ShowMainWindow() {
    auto* w = new frmMain; // deleted by Qt when it closes
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->Load();
    return w;
}
