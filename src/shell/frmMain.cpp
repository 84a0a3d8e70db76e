#include "shell/frmMain.h"

#include "addressbook/AddressBookPart.h"
#include "calendar/CalendarPart.h"
#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "common/modQXCommFunc.h"
#include "controls/BackupGuard.h"
#include "controls/ImageList.h"
#include "controls/ListBar.h"
#include "controls/Twips.h"
#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/SingleInstance.h"
#include "security/Preferences.h"
#include "security/frmPreferences.h"
#include "shell/LayoutRules.h"
#include "shell/MainTray.h"
#include "shell/frmAbout.h"
#include "shell/frmBackups.h"
#include "shell/frmExchange.h"
#include "store/Database.h"
#include "thoughts/ThoughtsPart.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

frmMain::frmMain() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pimora - Personal Information Manager"));
    setWindowIcon(AppIcon());
    resize(TwipsToPixels(15360), TwipsToPixels(11520));
    tray_ = new MainTray(this);
    BuildMenus();
    BuildFrames();
    calendar_ = new CalendarPart(fraFunc(kFunctionCalendar), mnuCal, finder);
    thoughts_ = new ThoughtsPart(fraFunc(kFunctionThoughts), mnuThoughts, finder);
    addressBook_ = new AddressBookPart(fraFunc(kFunctionAddressBook), mnuAddBook);
    auto* sb = new QStatusBar(this);
    sb->setObjectName(QStringLiteral("sbMain"));
    sb->setFixedHeight(TwipsToPixels(375));
    sbMainDate = new QLabel(sb);
    sbMainDate->setObjectName(QStringLiteral("sbMain.Panel(1)"));
    sb->addWidget(sbMainDate);
    setStatusBar(sb);
}

frmMain::~frmMain() = default;

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
    connect(
        item(mnuFile, QStringLiteral("mnuFileRestore"), QStringLiteral("Restore from Backup...")),
        &QAction::triggered, this, &frmMain::mnuFileRestore_Click);
    connect(item(mnuFile, QStringLiteral("mnuFileExport"), QStringLiteral("&Export...")),
            &QAction::triggered, this, &frmMain::mnuFileExport_Click);
    connect(item(mnuFile, QStringLiteral("mnuFileImport"), QStringLiteral("&Import...")),
            &QAction::triggered, this, &frmMain::mnuFileImport_Click);
    mnuFile->addSeparator();
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

    mnuOptions = menu(QStringLiteral("mnuOptions"), QStringLiteral("&Options"));
    connect(item(mnuOptions, QStringLiteral("mnuPref"), QStringLiteral("&Preferences...")),
            &QAction::triggered, this, &frmMain::mnuPref_Click);
    mnuHelp = menu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    connect(item(mnuHelp, QStringLiteral("mnuProgHelp"), QStringLiteral("&Program Help")),
            &QAction::triggered, this, &mnuProgHelp_Click);
    mnuHelp->addSeparator();
    connect(item(mnuHelp, QStringLiteral("mnuReadMe"), QStringLiteral("Read Me")),
            &QAction::triggered, this, &mnuReadMe_Click);
    connect(item(mnuHelp, QStringLiteral("mnuAbout"), QStringLiteral("About Pimora")),
            &QAction::triggered, this, &frmMain::mnuAbout_Click);
}

void frmMain::BuildFrames() {
    // Controls stand where the window was designed to have them, in twips; the resize
    // rules size them.
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    lstbarMain = new ListBar(central);
    lstbarMain->setObjectName(QStringLiteral("lstbarMain"));
    PlaceTwips(lstbarMain, {60, 120, 1335, 6915});
    connect(lstbarMain, &ListBar::ItemClick, this, &frmMain::lstbarMain_ItemClick);

    const std::pair<int, const char*> functions[] = {{kFunctionCalendar, "Calendar"},
                                                     {kFunctionThoughts, "Thoughts"},
                                                     {kFunctionAddressBook, "Address Book"}};
    for (const auto& [index, title] : functions) {
        auto* frame = new QFrame(central);
        frame->setObjectName(QStringLiteral("fraFunc(%1)").arg(index));
        PlaceTwips(frame, {1440, 0, 13755, 10395});
        frame->setVisible(false);
        auto* label = new QLabel(QString::fromLatin1(title), frame);
        label->setObjectName(QStringLiteral("lblFunc(%1)").arg(index));
        QFont big = label->font();
        big.setPointSize(big.pointSize() + 8);
        big.setBold(true);
        label->setFont(big);
        PlaceTwips(label, {120, 240, index == kFunctionCalendar ? 6015 : 7275, 555});
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

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The window was designed at an outer size of 1024 by 768: once the frame is known, the
    // first showing makes the outside that size.
    if (!sized_) {
        sized_ = true;
        const QSize frame = frameGeometry().size() - geometry().size();
        if (!frame.isEmpty())
            resize(QSize(TwipsToPixels(15360), TwipsToPixels(11520)) - frame);
    }
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
    ShowFrame(gCurrentFunction);
    Form_Resize();
    ActivateFrame(gCurrentFunction);
    show();
    tray_->FillRecord();
}

bool frmMain::CheckVersion() {
    return Database::CheckVersion([this] { BackUp(Backups::Reason::Upgrade, this); });
}

void frmMain::LoadPreferences() {
    ::LoadPreferences([this](bool enable) { ApplyToolTips(enable); });
}

void frmMain::ApplyToolTips(bool enable) {
    addressBook_->ApplyToolTips(enable);
    thoughts_->ApplyToolTips(enable);
}

void frmMain::SetupStatusBar() {
    sbMainDate->setText(VbFormat(Clock::Today(), QStringLiteral("d mmm yyyy")));
}

void frmMain::BuildListBar() {
    lstbarMain->Clear();
    lstbarMain->SetBar(QStringLiteral("Functions"), QStringLiteral("Functions"));
    lstbarMain->AddItem(QStringLiteral("Item2"), QStringLiteral("Calendar"),
                        PictureIcon(Picture::Diary), QStringLiteral("Calendar Function"));
    lstbarMain->AddItem(QStringLiteral("Item5"), QStringLiteral("Thoughts"),
                        PictureIcon(Picture::Thoughts), QStringLiteral("Thoughts Function"));
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

void frmMain::Form_Resize() {
    ApplyLayout();
}

void frmMain::ApplyLayout() {
    const int g = gCurrentFunction;
    QFrame* frame = fraFunc(g);
    if (!frame)
        return;
    LayoutRules::Input in;
    in.W = WindowWidthTwips(this);
    in.H = WindowHeightTwips(this);
    in.function = g;
    in.fraFuncWidth = GeometryTwips(frame).width;
    in.lblFuncWidth = GeometryTwips(lblFunc(g)).width;
    if (g == kFunctionCalendar)
        in.journalTop = calendar_->JournalTop();
    else if (g == kFunctionThoughts)
        in.noteTop = thoughts_->NoteTop();
    const std::vector<LayoutRules::Setting> sizes = LayoutRules::Apply(in);
    // Each part sizes its own controls from what the rules set.
    ApplyTwipsSettings({lstbarMain, frame, lblFunc(g)}, sizes);
    if (g == kFunctionCalendar)
        calendar_->ApplySizes(sizes);
    else if (g == kFunctionThoughts)
        thoughts_->ApplySizes(sizes);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (loaded_)
        ApplyLayout();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A minimised window goes to the notification area when the preference asks for it, once
    // the minimising is over (showing a window minimised shows it at its end).
    if (event->type() == QEvent::WindowStateChange && isMinimized() && loaded_)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isMinimized())
                    tray_->MinimiseToTray();
            },
            Qt::QueuedConnection);
}

void frmMain::RefreshThoughtsTree() {
    thoughts_->RefreshThoughtsTree();
}

void frmMain::HideAllFrames() {
    for (QFrame* f : fraFunc_)
        if (f)
            f->setVisible(false);
}

// A function's controls are built before its frame is first shown.
void frmMain::ShowFrame(int index) {
    HideAllFrames();
    if (index == kFunctionThoughts)
        thoughts_->EnsureBuilt();
    else if (index == kFunctionAddressBook)
        addressBook_->EnsureBuilt();
    if (QFrame* f = fraFunc(index))
        f->setVisible(true);
}

void frmMain::FunctionsActivate(short index) {
    ShowFrame(index);
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
        if (index == kFunctionThoughts && !thoughts_->ThoughtsLoaded())
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
    ShowFrame(gCurrentFunction);
    Form_Resize();
    ActivateFrame(gCurrentFunction);
}

void frmMain::ChooseFunctionFromMenu(short index) {
    gCurrentFunction = index;
    Form_Resize();
    FunctionsActivate(index);
}

void frmMain::ProggyUnloadStuff() {
    const bool calendarSaved = calendar_->SavePendingWork();
    const bool noteSaved = thoughts_->SaveThought();
    workSaved_ = calendarSaved && noteSaved;
}

void frmMain::Form_Unload() {
    workSaved_ = true;
    ProggyUnloadStuff();
    // A save that failed has shown its error, and the text is still in its box: closing now
    // would throw it away, so the user decides.
    if (!workSaved_ &&
        MsgBox(QStringLiteral("What you typed could not be saved and is still in its box. Close "
                              "Pimora anyway and lose it?"),
               MsgButtons::YesNo, MsgIcon::Exclamation) != MsgResult::Yes) {
        closeRefused_ = true;
        return;
    }
    Database::Close();
    tray_->Remove();
}

void frmMain::mnuPref_Click() {
    frmPreferences preferences(this);
    if (ShowModal(preferences) == QDialog::Accepted)
        ApplyToolTips(gEnableToolTips == QLatin1String("Y"));
}

void frmMain::mnuFileRestore_Click() {
    frmBackups backups([this](const Backups::Entry& entry) { return RestoreBackup(entry); }, this);
    ShowModal(backups);
}

bool frmMain::RestoreBackup(const Backups::Entry& entry) {
    if (MsgBox(QStringLiteral("Replace everything in Pimora with the backup of %1? What Pimora "
                              "holds now is kept as a backup first.")
                   .arg(Backups::When(entry.made)),
               MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
        return false;
    // What is typed is in the copy made before, and not lost to the restore.
    ProggyUnloadStuff();
    if (!workSaved_ || !BackUpBeforeRemoving(Backups::Reason::Restore, this))
        return false;
    try {
        CopyProgressDialog progress(QStringLiteral("Restoring the backup..."), this);
        Backups::RestoreInto(entry, progress.Callback());
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while restoring a backup!"),
                  QStringLiteral("Backup Error!"), e);
        return false;
    }
    // A copy made before an upgrade holds the schema it had then.
    CheckVersion();
    LoadPreferences();
    calendar_->ShowRestoredData();
    if (thoughts_->ThoughtsLoaded())
        RefreshThoughtsTree();
    return true;
}

// What is being typed goes out with the rest, and is not lost to what comes in.
void frmMain::mnuFileExport_Click() {
    ProggyUnloadStuff();
    frmExport exporter(this);
    ShowModal(exporter);
}

void frmMain::mnuFileImport_Click() {
    ProggyUnloadStuff();
    if (!workSaved_)
        return;
    const auto [key, caption] = thoughts_->ImportTarget();
    frmImport importer(
        caption,
        [this, key = key](const Exchange::CalendarPlan& calendar,
                          const Exchange::ThoughtsPlan& thoughts, const Exchange::Progress& p) {
            return ImportPlans(calendar, thoughts, key, p);
        },
        this);
    ShowModal(importer);
}

bool frmMain::ImportPlans(const Exchange::CalendarPlan& calendar,
                          const Exchange::ThoughtsPlan& thoughts, const QString& parentKey,
                          const std::function<bool(int, int)>& progress) {
    if (!BackUp(Backups::Reason::Import, this) &&
        MsgBox(QStringLiteral("The backup could not be made. Import anyway?"), MsgButtons::YesNo,
               MsgIcon::Exclamation) != MsgResult::Yes)
        return false;
    try {
        Exchange::Import(calendar, thoughts, parentKey, Clock::Now(), progress);
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while importing!"), QStringLiteral("Import Error!"), e);
        return false;
    }
    calendar_->ShowRestoredData();
    if (thoughts_->ThoughtsLoaded())
        RefreshThoughtsTree();
    return true;
}

void frmMain::mnuAbout_Click() {
    frmAbout about(this);
    ShowModal(about);
}

void mnuProgHelp_Click() {
    MsgBox(QStringLiteral("Uhm... what help? :)\r\nVisit %1 for information about Pimora, or "
                          "e-mail your question to %2.")
               .arg(QString::fromLatin1(kSite), QString::fromLatin1(kAuthorMail)),
           MsgButtons::OK, MsgIcon::Information);
}

// Nothing is shown when the document is not there, nor when nothing could open it.
void mnuReadMe_Click() {
    const QString readMe = App::Path() + QStringLiteral("/readme.xml");
    if (QFileInfo(readMe).isFile())
        ShellOpen(readMe);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        closeRefused_ = false;
        Form_Unload();
        if (closeRefused_) {
            event->ignore();
            return;
        }
        unloaded_ = true;
        emit unloaded();
    }
    event->accept();
}

frmMain* ShowMainWindow() {
    auto* w = new frmMain; // deleted by Qt when it closes
    w->setAttribute(Qt::WA_DeleteOnClose);
    // A window hidden in the tray does not count for Qt's last-window rule, so the program
    // ends on the unload itself, however the window was closed. The instance lets go of its
    // title at once: a start from now on is a new Pimora, not a call to this one.
    QObject::connect(
        w, &frmMain::unloaded, qApp,
        [] {
            SingleInstance::Instance().Release();
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);
    w->Load();
    return w;
}
