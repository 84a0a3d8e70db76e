#include "ui/main/frmMain.h"

#include "calendar/CalendarPart.h"
#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"
#include "ui/main/ImageList.h"
#include "ui/main/ListBar.h"
#include "ui/main/TabStrip.h"
#include "ui/main/Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

QWidget* Named(QWidget* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

// A tab strip over a pile of frames; choosing a tab brings its frame to the front.
QWidget* TabbedPile(QWidget* parent, TabStrip*& strip, const QString& stripName,
                    std::initializer_list<std::pair<QWidget**, QString>> frames) {
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    strip = new TabStrip(box);
    strip->setObjectName(stripName);
    auto* pile = new QStackedWidget(box);
    pile->setObjectName(stripName + QStringLiteral("Frames"));
    pile->setFrameShape(QFrame::StyledPanel);
    for (const auto& [slot, name] : frames) {
        auto* frame = new QFrame(pile);
        frame->setObjectName(name);
        new QVBoxLayout(frame);
        pile->addWidget(frame);
        *slot = frame;
    }
    layout->addWidget(strip);
    layout->addWidget(pile, 1);
    QObject::connect(strip, &QTabBar::currentChanged, pile, [pile](int index) {
        if (index >= 0 && index < pile->count())
            pile->setCurrentIndex(index);
    });
    return box;
}

} // namespace

frmMain::frmMain() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pimora - Personal Information Manager"));
    resize(TwipsToPixels(15360), TwipsToPixels(11520));
    BuildMenus();
    BuildFrames();
    calendar = std::make_unique<CalendarPart>(*this);
    auto* sb = new QStatusBar(this);
    sb->setObjectName(QStringLiteral("sbMain"));
    sbMainDate = new QLabel(sb);
    sbMainDate->setObjectName(QStringLiteral("sbMain.Panel(1)"));
    sb->addWidget(sbMainDate);
    setStatusBar(sb);
}

frmMain::~frmMain() = default;

QAction* frmMain::AddItem(QMenu* menu, const QString& name, const QString& caption,
                          const QKeySequence& shortcut, bool enabled) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    a->setEnabled(enabled);
    return a;
}

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
    mnuFile = menu(QStringLiteral("mnuFile"), QStringLiteral("&File"));
    connect(AddItem(mnuFile, QStringLiteral("mnuFileExit"), QStringLiteral("E&xit"),
                    QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &QWidget::close);

    mnuFunctions = menu(QStringLiteral("mnuFunctions"), QStringLiteral("F&unctions"));
    connect(AddItem(mnuFunctions, QStringLiteral("mnuFunctionsCalendar"),
                    QStringLiteral("Switch to &Calendar"), QKeySequence(Qt::CTRL | Qt::Key_F1)),
            &QAction::triggered, this, [this] { ChooseFunctionFromMenu(kFunctionCalendar); });
    connect(AddItem(mnuFunctions, QStringLiteral("mnuFunctionsThoughts"),
                    QStringLiteral("Switch to &Thoughts"), QKeySequence(Qt::CTRL | Qt::Key_F2)),
            &QAction::triggered, this, [this] { ChooseFunctionFromMenu(kFunctionThoughts); });
    connect(AddItem(mnuFunctions, QStringLiteral("mnuFunctionsAddBook"),
                    QStringLiteral("Switch to Address &Book"), QKeySequence(Qt::CTRL | Qt::Key_F3)),
            &QAction::triggered, this, [this] { ChooseFunctionFromMenu(kFunctionAddressBook); });

    // The calendar's, the Thoughts' and the help's own actions arrive with those parts.
    mnuCal = menu(QStringLiteral("mnuCal"), QStringLiteral("&Calendar"));
    AddItem(mnuCal, QStringLiteral("mnuPrevDay"), QStringLiteral("Prev Day"), Qt::Key_F2, false);
    AddItem(mnuCal, QStringLiteral("mnuNextDay"), QStringLiteral("Next Day"), Qt::Key_F3, false);
    AddItem(mnuCal, QStringLiteral("mnuPrevMonth"), QStringLiteral("Prev Month"), Qt::Key_F5,
            false);
    AddItem(mnuCal, QStringLiteral("mnuNextMonth"), QStringLiteral("Next Month"), Qt::Key_F6,
            false);
    AddItem(mnuCal, QStringLiteral("mnuToday"), QStringLiteral("Today"), Qt::Key_F4, false);
    mnuCal->addSeparator();
    AddItem(mnuCal, QStringLiteral("mnuSwapCal"), QStringLiteral("Swap Calendar/Event"), {}, false);
    mnuCal->addSeparator();
    QMenu* maint = mnuCal->addMenu(QStringLiteral("&Maintenance"));
    maint->setObjectName(QStringLiteral("mnuMaint"));
    maint->menuAction()->setObjectName(QStringLiteral("mnuMaint"));
    AddItem(maint, QStringLiteral("mnuMaintEvents"), QStringLiteral("&Events..."), {}, false);

    mnuThoughts = menu(QStringLiteral("mnuThoughts"), QStringLiteral("&Thoughts"));
    AddItem(mnuThoughts, QStringLiteral("mnuRefreshThoughts"),
            QStringLiteral("Refresh Thoughts Tree"), {}, false);
    AddItem(mnuThoughts, QStringLiteral("mnuThoCountNodes"), QStringLiteral("Count Thought Nodes"),
            {}, false);
    AddItem(mnuThoughts, QStringLiteral("mnuMaintClearThoughts"),
            QStringLiteral("Clear Thoughts..."), {}, false);

    mnuAddBook = menu(QStringLiteral("mnuAddBook"), QStringLiteral("&Address Book"));
    QMenu* abMaint = mnuAddBook->addMenu(QStringLiteral("&Maintenance"));
    abMaint->setObjectName(QStringLiteral("mnuAddBookMaint"));
    abMaint->menuAction()->setObjectName(QStringLiteral("mnuAddBookMaint"));
    AddItem(abMaint, QStringLiteral("mnuAddBookMaintCat"), QStringLiteral("Contact Cate&gories"));

    mnuOptions = menu(QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    AddItem(mnuOptions, QStringLiteral("mnuPref"), QStringLiteral("&Preferences..."), {}, false);

    mnuHelp = menu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    AddItem(mnuHelp, QStringLiteral("mnuProgHelp"), QStringLiteral("&Program Help"), {}, false);
    mnuHelp->addSeparator();
    AddItem(mnuHelp, QStringLiteral("mnuReadMe"), QStringLiteral("Read Me"), {}, false);
    AddItem(mnuHelp, QStringLiteral("mnuAbout"), QStringLiteral("About Pimora"), {}, false);
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

    // Calendar: the month grid's column on the left, the journal and search on the right.
    {
        QFrame* frame = fraFunc(kFunctionCalendar);
        auto* body = new QHBoxLayout;
        auto* left = Named(new QWidget(frame), QStringLiteral("fraCalLeft"));
        left->setFixedWidth(TwipsToPixels(4560));
        new QVBoxLayout(left);
        body->addWidget(left);
        QWidget* tabs = TabbedPile(frame, tabCalendar, QStringLiteral("tabCalendar"),
                                   {{&fraCalDiary, QStringLiteral("fraCalDiary")},
                                    {&fraCalSearch, QStringLiteral("fraCalSearch")}});
        body->addWidget(tabs, 1);
        static_cast<QVBoxLayout*>(frame->layout())->addLayout(body, 1);
        QWidget* searchTabs =
            TabbedPile(fraCalSearch, tabSearchCalendar, QStringLiteral("tabSearchCalendar"),
                       {{&fraSearchJournal, QStringLiteral("fraSearchJournal")},
                        {&fraSearchEvents, QStringLiteral("fraSearchEvents")}});
        fraCalSearch->layout()->addWidget(searchTabs);
    }
    // Thoughts: the tree on the left, the note and search on the right.
    {
        QFrame* frame = fraFunc(kFunctionThoughts);
        auto* body = new QHBoxLayout;
        auto* left = Named(new QWidget(frame), QStringLiteral("fraThoughtsLeft"));
        left->setFixedWidth(TwipsToPixels(3975));
        new QVBoxLayout(left);
        body->addWidget(left);
        body->addWidget(TabbedPile(frame, tabThoughts, QStringLiteral("tabThoughts"),
                                   {{&fraThoughts2, QStringLiteral("fraThoughts2")},
                                    {&fraThoughtsSearch, QStringLiteral("fraThoughtsSearch")}}),
                        1);
        static_cast<QVBoxLayout*>(frame->layout())->addLayout(body, 1);
    }
    // Address Book.
    {
        QFrame* frame = fraFunc(kFunctionAddressBook);
        frame->layout()->addWidget(TabbedPile(frame, tabAddBookMain,
                                              QStringLiteral("tabAddBookMain"),
                                              {{&fraABPeople, QStringLiteral("fraABPeople")},
                                               {&fraABGroups, QStringLiteral("fraABGroups")}}));
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
    bThoughtsLoaded = false;
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
    Recordset rs;
    try {
        gSQL = QStringLiteral("select * from pmpref");
        rs.Open(gSQL, *gConn, adOpenStatic, adLockReadOnly);
        if (!rs.Eof()) {
            gShortDateFormat = NullToEmpty(rs.Field(QStringLiteral("shortdateformat")));
            gMinimizeToSystray = NullToEmpty(rs.Field(QStringLiteral("minimizetosystray")));
            gEnableToolTips = NullToEmpty(rs.Field(QStringLiteral("enabletooltips")));
            ApplyToolTips(gEnableToolTips == QLatin1String("Y"));
        }
        rs.Close();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while gettting preferences!"), QStringLiteral("Error!"), e);
        rs.CloseIfOpen();
    }
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
    sbMainDate->setText(VbFormat(QDate::currentDate(), QStringLiteral("d mmm yyyy")));
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
    tabCalendar->RemoveAll();
    tabCalendar->AddTab(QStringLiteral("Diary"), QStringLiteral("Diary"), ImageListIcon(27));
    tabCalendar->AddTab(QStringLiteral("Search"), QStringLiteral("Search"), ImageListIcon(12));
    tabCalendar->setCurrentIndex(0);
    tabSearchCalendar->RemoveAll();
    tabSearchCalendar->AddTab(QStringLiteral("Search Journal"), QStringLiteral("SearchJournal"),
                              ImageListIcon(27));
    tabSearchCalendar->AddTab(QStringLiteral("Search Events"), QStringLiteral("SearchEvents"),
                              ImageListIcon(45));
    tabSearchCalendar->setCurrentIndex(0);
    BringToFront(fraCalDiary);
    BringToFront(fraSearchJournal);
    calendar->PopulateCalendarCombos();
    calendar->PopulateEventsCombo();
    calendar->RenderCalFrame();
    calendar->cmdCalToday_Click();
    calendar->PopulateHeadsUp();
}

void frmMain::BuildThoughtsTab() {
    tabThoughts->RemoveAll();
    tabThoughts->AddTab(QStringLiteral("Thought"), QStringLiteral("THOUGHT"), ImageListIcon(47));
    tabThoughts->AddTab(QStringLiteral("Search"), QStringLiteral("SEARCH"), ImageListIcon(12));
    tabThoughts->setCurrentIndex(0);
    BringToFront(fraThoughts2);
}

void frmMain::BuildAddBookTab() {
    tabAddBookMain->RemoveAll();
    tabAddBookMain->AddTab(QStringLiteral("People"), QStringLiteral("People"), ImageListIcon(24));
    tabAddBookMain->AddTab(QStringLiteral("Groups"), QStringLiteral("Groups"), ImageListIcon(48));
    tabAddBookMain->setCurrentIndex(0);
    BringToFront(fraABPeople);
}

// Qt's layouts already follow the window's size; the fixed resize rules come with the layout.
void frmMain::Form_Resize() {}

void frmMain::RefreshThoughtsTree() {
    bThoughtsLoaded = true;
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
        if (index == kFunctionThoughts && !bThoughtsLoaded)
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

// The open thought is saved here too once the Thoughts note is editable.
void frmMain::ProggyUnloadStuff() {
    calendar->SavePendingWork();
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
