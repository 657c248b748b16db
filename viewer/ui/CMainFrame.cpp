#include "viewer/ui/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

#include "settings/WindowPlacement.h"
#include "settings/WindowSettings.h"
#include "viewer/CommandTable.h"
#include "viewer/ui/ToolbarIcons.h"

namespace tolvani::viewer {

const char* const CMainFrame::kOpenFilter = "JWWファイル(*.jww)|*jww|全てのファイル(*.*)|*.*|";
const char* const CMainFrame::kAppOpenFilter = "JWWドキュメンント(*.jww)|*.jww||";
const char* const CMainFrame::kSaveFilter = "JWWファイル(*.jww)|*jww|";

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

CMainFrame::CMainFrame(CTolvaniDoc& doc, UiPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), doc_(doc), prompts_(prompts) {
    setObjectName(QStringLiteral("CMainFrame"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAcceptDrops(true);
    view_ = new display::CTolvaniView(this);
    view_->setObjectName(QStringLiteral("CTolvaniView"));
    setCentralWidget(view_);
    CreateActions();
    CreateMenus(MainMenu());
    CreateToolBar();
    CreateStatusBar();
    ConnectOwnCommands();

    connect(view_, &display::CTolvaniView::statusTextChanged, this, [this](int pane, const QString& text) {
        if (pane >= 1 && pane <= 3) panes_[pane]->setText(text);
    });
    connect(&doc_, &CTolvaniDoc::stateChanged, this, [this] {
        UpdateTitle();
        UpdateCommandUi();
    });
    connect(&doc_, &CTolvaniDoc::recentFilesChanged, this, &CMainFrame::RebuildRecentMenu);
    connect(&doc_, &CTolvaniDoc::openStarted, this, [this](const QString& path) {
        statusBar()->showMessage(QStringLiteral("%1 を読み込んでいます…").arg(path));
        if (!busy_) QApplication::setOverrideCursor(Qt::BusyCursor);
        busy_ = true;
    });
    connect(&doc_, &CTolvaniDoc::openFinished, this, &CMainFrame::ShowOpenOutcome);
    connect(&doc_, &CTolvaniDoc::missingDefinitions, this,
            [this](const QString& message) { prompts_.Message(this, UiPrompts::Icon::Warning, message); });
    connect(&doc_, &CTolvaniDoc::placementBudgetSpent, this,
            [this](const QString& message) { statusBar()->showMessage(message); });
    doc_.core().AddView(this);
    view_->SetDocument(&doc_.core());
    RebuildRecentMenu();
    UpdateTitle();
    UpdateCommandUi();
    view_->setFocus();
    // Where no placement is stored the platform places the window; its
    // size is a comfortable part of the screen.
    const QRect screen =
        QApplication::primaryScreen() ? QApplication::primaryScreen()->availableGeometry() : QRect(0, 0, 1280, 900);
    resize(std::min(1100, screen.width() * 4 / 5), std::min(800, screen.height() * 4 / 5));
}

CMainFrame::~CMainFrame() {
    if (busy_) QApplication::restoreOverrideCursor();
    view_->SetDocument(nullptr);
    doc_.core().RemoveView(this);
}

QAction* CMainFrame::Action(int id) const {
    if (id >= cmd::kRecentFirst && id < cmd::kRecentFirst + settings::RecentFileList::kMaxEntries) {
        const std::size_t i = static_cast<std::size_t>(id - cmd::kRecentFirst);
        if (i < recentActions_.size()) return recentActions_[i];
        return id == cmd::kRecentFirst ? recentPlaceholder_ : nullptr;
    }
    const auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : it->second.action;
}

QLabel* CMainFrame::pane(int index) const { return index >= 0 && index <= 3 ? panes_[index] : nullptr; }

void CMainFrame::CreateActions() {
    std::vector<CommandInfo> all = MainCommands();
    all.insert(all.end(), ObjectCommands().begin(), ObjectCommands().end());
    for (const CommandInfo& info : all) {
        if (info.id == cmd::kRecentFirst) continue;
        auto* action = new QAction(this);
        action->setObjectName(QStringLiteral("command%1").arg(info.id));
        action->setData(info.id);
        action->setText(*info.menuText ? Text(info.menuText) : Text(info.tooltip));
        action->setStatusTip(Text(info.prompt));
        action->setToolTip(Text(info.tooltip));
        QList<QKeySequence> keys;
        for (const QString& k : Text(info.keys).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            keys << QKeySequence(k, QKeySequence::PortableText);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        addAction(action);  // keys work also for commands in no menu
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] {
            auto it = commands_.find(id);
            if (it == commands_.end() || !it->second.connected) return;
            UpdateCommandUi();
            if (!it->second.action->isEnabled()) return;
            if (it->second.run) it->second.run();
        });
        commands_[info.id].action = action;
    }
    // Keys of the window that do nothing.
    for (const char* key : InertKeys()) {
        auto* inert = new QShortcut(QKeySequence(Text(key), QKeySequence::PortableText), this);
        inert->setContext(Qt::WindowShortcut);
    }
    recentPlaceholder_ = new QAction(Text(FindCommand(cmd::kRecentFirst)->menuText), this);
    recentPlaceholder_->setEnabled(false);
    recentPlaceholder_->setStatusTip(Text(FindCommand(cmd::kRecentFirst)->prompt));
}

void CMainFrame::SetMenus(const std::vector<MenuInfo>& menus) {
    for (QAction* a : recentActions_) delete a;
    recentActions_.clear();
    fileMenu_ = nullptr;
    recentAnchor_ = nullptr;
    std::vector<QMenu*> old;
    for (QAction* a : menuBar()->actions())
        if (a->menu()) old.push_back(a->menu());
    menuBar()->clear();
    for (QMenu* m : old) delete m;
    CreateMenus(menus);
    RebuildRecentMenu();
}

void CMainFrame::CreateMenus(const std::vector<MenuInfo>& menus) {
    for (const MenuInfo& m : menus) {
        QMenu* menu = menuBar()->addMenu(Text(m.title));
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
        bool afterRecent = false;
        for (const int id : m.items) {
            if (id == 0) {
                QAction* sep = menu->addSeparator();
                // The recent files go in before the separator that ends them.
                if (afterRecent) recentAnchor_ = sep;
                afterRecent = false;
                continue;
            }
            if (id == cmd::kRecentFirst) {
                fileMenu_ = menu;
                menu->addAction(recentPlaceholder_);
                afterRecent = true;
                continue;
            }
            menu->addAction(Action(id));
        }
    }
}

void CMainFrame::CreateToolBar() {
    toolBar_ = addToolBar(QStringLiteral("ツール バー"));
    toolBar_->setObjectName(QStringLiteral("toolbar128"));
    toolBar_->setMovable(false);
    for (const int id : MainToolbar()) {
        if (id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = Action(id);
        a->setIcon(ToolbarIcon(id));
        toolBar_->addAction(a);
    }
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    panes_[0] = new QLabel(this);  // the message area is the bar's own
    panes_[0]->hide();
    const char* const widths[] = {"####################", "################", "########"};
    for (int i = 1; i <= 3; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("pane%1").arg(i));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromLatin1(widths[i - 1])));
        label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        bar->addPermanentWidget(label);
        panes_[i] = label;
    }
    bar->showMessage(QStringLiteral("レディ"));
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
        if (message.isEmpty()) bar->showMessage(QStringLiteral("レディ"));
    });
}

void CMainFrame::SetCommand(int id, std::function<void()> run, std::function<bool()> enabled) {
    auto it = commands_.find(id);
    if (it == commands_.end()) return;
    it->second.run = std::move(run);
    it->second.enabled = std::move(enabled);
    it->second.connected = true;
    UpdateCommandUi();
}

void CMainFrame::UpdateCommandUi() {
    for (auto& [id, c] : commands_) {
        const bool on = c.connected && (!c.enabled || c.enabled());
        if (c.action->isEnabled() != on) c.action->setEnabled(on);
    }
}

void CMainFrame::ConnectOwnCommands() {
    SetCommand(cmd::kFileNew, [this] { NewFile(); });
    SetCommand(cmd::kOpen, [this] { OpenWithDialog(); });
    SetCommand(cmd::kFileOpenApp, [this] { OpenWithAppDialog(); });
    SetCommand(cmd::kSaveAs, [this] { SaveAs(); });
    SetCommand(cmd::kFileSave, [this] { Save(); });
    SetCommand(cmd::kAppExit, [this] { close(); });

    QAction* toolbar = Action(cmd::kViewToolbar);
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    SetCommand(cmd::kViewToolbar, [this] { toolBar_->setVisible(Action(cmd::kViewToolbar)->isChecked()); });
    QAction* status = Action(cmd::kViewStatusBar);
    status->setCheckable(true);
    status->setChecked(true);
    SetCommand(cmd::kViewStatusBar, [this] { statusBar()->setVisible(Action(cmd::kViewStatusBar)->isChecked()); });
}

void CMainFrame::RebuildRecentMenu() {
    for (QAction* a : recentActions_) {
        if (fileMenu_) fileMenu_->removeAction(a);
        delete a;
    }
    recentActions_.clear();
    if (!fileMenu_) return;
    const auto& entries = doc_.recentFiles().entries();
    recentPlaceholder_->setVisible(entries.empty());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* a = new QAction(QString::fromStdString(doc_.recentFiles().MenuText(i)), this);
        a->setObjectName(QStringLiteral("command%1").arg(cmd::kRecentFirst + static_cast<int>(i)));
        a->setData(cmd::kRecentFirst + static_cast<int>(i));
        a->setStatusTip(Text(FindCommand(cmd::kRecentFirst)->prompt));
        a->setToolTip(QString::fromStdString(entries[i]));
        const int index = static_cast<int>(i);
        connect(a, &QAction::triggered, this, [this, index] { OpenRecent(index); });
        fileMenu_->insertAction(recentAnchor_, a);
        recentActions_.push_back(a);
    }
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(QString::fromStdString(doc_.core().Title()) + QStringLiteral("[*] - Tolvani"));
    setWindowModified(doc_.core().modified());
}

bool CMainFrame::SaveModified() {
    if (saveModifiedRule_) return saveModifiedRule_();
    if (!doc_.core().modified()) return true;
    switch (prompts_.AskSave(this, QString::fromStdString(doc_.core().Title()))) {
        case UiPrompts::SaveAnswer::Save: return Save();
        case UiPrompts::SaveAnswer::Discard: return true;
        case UiPrompts::SaveAnswer::Cancel: break;
    }
    return false;
}

void CMainFrame::NewFile() {
    if (!SaveModified()) return;
    doc_.NewDocument();
}

void CMainFrame::OpenPath(const QString& path) {
    if (path.isEmpty() || !SaveModified()) return;
    doc_.OpenFile(path);
}

void CMainFrame::OpenWithDialog() {
    const QString path = prompts_.OpenFileName(this, Text(kOpenFilter), QString::fromStdString(doc_.core().lastPath()));
    if (!path.isEmpty()) OpenPath(path);
}

void CMainFrame::OpenWithAppDialog() {
    const QString path = prompts_.OpenFileName(this, Text(kAppOpenFilter), QString());
    if (!path.isEmpty()) OpenPath(path);
}

void CMainFrame::OpenRecent(int index) {
    const auto& entries = doc_.recentFiles().entries();
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return;
    OpenPath(QString::fromStdString(entries[static_cast<std::size_t>(index)]));
}

void CMainFrame::ShowOpenOutcome(const QString& path, bool loaded, const QString& message, const QString& detail) {
    statusBar()->clearMessage();
    if (busy_ && !doc_.loading()) {
        QApplication::restoreOverrideCursor();
        busy_ = false;
    }
    UpdateTitle();
    UpdateCommandUi();
    if (loaded) return;
    (void)path;
    prompts_.Message(this, UiPrompts::Icon::Stop, message, detail);
}

bool CMainFrame::WriteTo(const QString& path, bool addToRecent) {
    const SaveOutcome saved = doc_.core().SaveTo(path.toStdString());
    if (!saved.ok()) {
        prompts_.Message(this, UiPrompts::Icon::Stop, QString::fromStdString(saved.message),
                         QString::fromStdString(saved.detail));
        return false;
    }
    if (addToRecent) {
        doc_.recentFiles().Add(path.toStdString());
        RebuildRecentMenu();
    }
    return true;
}

void CMainFrame::SaveAs() {
    const QString path = prompts_.SaveFileName(this, Text(kSaveFilter), QString::fromStdString(doc_.core().lastPath()));
    if (!path.isEmpty()) WriteTo(path, true);
}

bool CMainFrame::Save() {
    if (doc_.core().HasFileToSave()) return WriteTo(QString::fromStdString(doc_.core().filePath()), false);
    const QString path = prompts_.SaveFileName(this, Text(kSaveFilter), QString::fromStdString(doc_.core().lastPath()));
    if (path.isEmpty()) return false;
    return WriteTo(path, true);
}

void CMainFrame::RestorePlacement() {
    if (doc_.core().RunningEmbedded()) return;
    settings::WindowSettings stored;
    stored.Load(doc_.core().store());
    // Only a place on a screen there is now: a monitor may have gone since.
    std::vector<settings::ScreenRect> screens;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect a = s->availableGeometry();
        screens.push_back({a.left(), a.top(), a.left() + a.width(), a.top() + a.height()});
    }
    if (settings::PlacementOnScreens({stored.left, stored.top, stored.right, stored.bottom}, screens))
        setGeometry(stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top);
    // A window closed maximised comes back maximised (over its normal
    // rectangle); one closed minimised comes back normal.
    if (stored.show == settings::WindowSettings::kMaximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::SavePlacement() {
    if (doc_.core().RunningEmbedded()) return;
    const QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
    settings::WindowSettings placement;
    placement.left = r.left();
    placement.top = r.top();
    placement.right = r.left() + r.width();
    placement.bottom = r.top() + r.height();
    placement.show = isMinimized()   ? settings::WindowSettings::kMinimized
                     : isMaximized() ? settings::WindowSettings::kMaximized
                                     : settings::WindowSettings::kNormal;
    placement.Save(doc_.core().store());
}

namespace {
// The first local file among the dropped ones.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return QString();
}
}  // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // The drop ends before the question is asked.
    QMetaObject::invokeMethod(
        this, [this, path] { OpenPath(path); }, Qt::QueuedConnection);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    SavePlacement();
    event->accept();
}

}  // namespace tolvani::viewer
