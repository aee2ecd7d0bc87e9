#include "ClipListPanel.h"

#include "ClipIntake.h"
#include "ControlFont.h"
#include "Dispatch.h"
#include "InputFilePanel.h"
#include "MOQButton.h"
#include "MOQImageView.h"
#include "MakeLabel.h"
#include "ResourceBundle.h"
#include "ShellLog.h"
#include "ViewFrame.h"
#include "Workspace.h"

#include <QLabel>
#include <QPointer>
#include <QUrl>

namespace {

QString localized(const QString& key) {
    return ResourceBundle::localizedStringForKey(key);
}

QImage image(const char* name) {
    return ResourceBundle::imageWithfileName(QString::fromLatin1(name));
}

// A press re-dispatched to the main queue, for as long as the panel lives.
std::function<void(MOQButton*)> onMain(ClipListPanel* panel, std::function<void(ClipListPanel&)> work) {
    QPointer<ClipListPanel> self(panel);
    return [self, work = std::move(work)](MOQButton*) {
        Dispatch::main([self, work] {
            if (self)
                work(*self);
        });
    };
}

} // namespace

ClipListPanel::Hint ClipListPanel::Hint::numbered(const QString& key, int count) {
    Hint hint;
    hint.headingKey = key;
    for (int i = 1; i <= count; ++i)
        hint.tipKeys << key + QString::number(i);
    return hint;
}

ClipListPanel::ClipListPanel(std::shared_ptr<SimpleDataList> fileList, QWidget* panel, const Hint& hint,
                             QObject* parent)
    : QObject(parent), _fileList(std::move(fileList)) {
    _contentNofileTishiView = new MOQImageView(ViewRect{10, 50, 600, 410}, panel);
    _fileListTableView = new JoinnerTableView(ViewRect{10, 50, 600, 410}, panel);
    buildAddButton(panel);
    buildHint(hint);
    buildListButtons(panel);
}

ClipListPanel::~ClipListPanel() = default;

void ClipListPanel::buildAddButton(QWidget* panel) {
    _addfileBtn = new MOQButton(ViewRect{10, 10, 120, 30}, panel);
    _addfileBtn->setBackGroundColor(QColor(90, 216, 238));
    // Our button pictures are light: a white title would hardly be read on them.
    _addfileBtn->setContentColor(QColor(20, 110, 160));
    _addfileBtn->setNormalBackgroundImage(image("About/btnAddFile_Normal.bmp"));
    _addfileBtn->setOnBackgroundImage(image("About/btnAddFile_On.bmp"));
    _addfileBtn->setDownBackgroundImage(image("About/btnAddFile_Down.bmp"));
    _addfileBtn->setDisAbleBackgroundImage(image("About/btnAddFile_Disable.bmp"));
    _addfileBtn->setContentTitle(localized(QStringLiteral("AddFileBtnTitle")));
    _addfileBtn->setFont(ControlFont::system(13));
    _addfileBtn->setCornerRadius(3);
    _addfileBtn->setBorderWidth(0);
    _addfileBtn->setBordered(false);
    _addfileBtn->setMouseDownAction(onMain(this, [](ClipListPanel& p) { p.addFileAction(); }));
}

void ClipListPanel::buildHint(const Hint& hint) {
    _contentNofileTishiView->setBordColor(QColor(214, 212, 212));
    _contentNofileTishiView->setCornerRadius(5);
    _contentNofileTishiView->setBorderWidth(2);
    QWidget* view = _contentNofileTishiView;
    _emailIconView = new MOQButton(ViewRect{30, 30, 32, 32}, view);
    _emailIconView->setNormalImage(image("Join/imgEmail.png"));
    _emailIconView->setBordered(false);
    _emailIconView->setToolTip(localized(QStringLiteral("emailTooltip")));
    _emailIconView->setMouseDownAction(onMain(this, [](ClipListPanel& p) { p.emailAction(); }));
    _email_addressLabel = makeLabel(view, {70, 36, 500, 20}, localized(QStringLiteral("email_address")), 13);
    _gettingstatedlabel = makeLabel(view, {30, 330, 540, 40}, localized(hint.headingKey), 22);
    for (int i = 0; i < hint.tipKeys.size(); ++i) {
        QLabel* label = makeLabel(view, {30, 270 - i * hint.tipPitch, 540, hint.tipHeight},
                                  QStringLiteral("%1.").arg(i + 1) + localized(hint.tipKeys[i]), 16);
        label->setWordWrap(true);
        _descLabels.push_back(label);
    }
}

void ClipListPanel::buildListButtons(QWidget* panel) {
    auto button = [&](double x, const char* key, const char* word, void (ClipListPanel::*action)()) {
        auto* b = new MOQButton(ViewRect{x, 11, 74, 28}, panel);
        b->setCornerRadius(4);
        b->setBordered(false);
        b->setBordColor(QColor(188, 189, 189));
        b->setBorderWidth(1);
        b->setBackGroundColor(QColor(231, 231, 231));
        b->setContentColor(Qt::black);
        b->setFont(ControlFont::system(13));
        b->setContentTitle(localized(QString::fromLatin1(key)));
        auto dispatch = onMain(this, [action](ClipListPanel& p) { (p.*action)(); });
        b->setMouseDownAction([word, dispatch](MOQButton* pressed) {
            qCInfo(lcShell).noquote() << word;
            dispatch(pressed);
        });
        return b;
    };
    _removeBtn = button(150, "RemoveBtnTitle", "selectRemove", &ClipListPanel::removeRequested);
    _clearBtn = button(232, "ClearBtnTitle", "selectClear", &ClipListPanel::clearRequested);
    _upBtn = button(314, "UpBtnTitle", "selectUp", &ClipListPanel::upAction);
    _downBtn = button(396, "DownBtnTitle", "selectDown", &ClipListPanel::downAction);
}

void ClipListPanel::removeRequested() {
    if (removePressed)
        removePressed();
}

void ClipListPanel::clearRequested() {
    if (clearPressed)
        clearPressed();
}

// ---- Adding ----

void ClipListPanel::addFileAction() {
    const QStringList paths = InputFilePanel::run(_fileListTableView->window());
    if (paths.isEmpty())
        return;
    qCInfo(lcShell).noquote() << QStringLiteral("urls:%1").arg(paths.join(QLatin1Char(',')));
    addFiles(paths);
}

void ClipListPanel::addFiles(const QStringList& paths) {
    ++_pendingAdds;
    QPointer<ClipListPanel> self(this);
    ClipIntake::probe(paths, this,
                      [self](const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected) {
                          if (!self)
                              return;
                          --self->_pendingAdds;
                          if (self->probed)
                              self->probed(added, rejected);
                      });
}

// ---- Removing and moving ----

bool ClipListPanel::removeSelected() {
    const qint64 row = _fileListTableView->selectedRow();
    if (row < 0 || row >= _fileList->size())
        return false;
    _fileList->removeAt(row);
    _fileListTableView->setItems(_fileList);
    _fileListTableView->reloadData();
    return true;
}

void ClipListPanel::removeAll() {
    _fileList->clear();
    _fileListTableView->setItems(_fileList);
    _fileListTableView->reloadData();
}

void ClipListPanel::selectRowAfterMove(qint64 row) {
    _fileListTableView->setSelectedRow(row);
    _fileListTableView->setDisabelSelectBlock(true);
    _fileListTableView->reloadData();
}

void ClipListPanel::upAction() {
    const qint64 row = _fileListTableView->selectedRow();
    if (row <= 0 || row >= _fileList->size())
        return;
    _fileList->swapItemsAt(row, row - 1);
    selectRowAfterMove(row - 1);
}

void ClipListPanel::downAction() {
    const qint64 row = _fileListTableView->selectedRow();
    if (row < 0 || row >= _fileList->size() - 1)
        return;
    _fileList->swapItemsAt(row, row + 1);
    selectRowAfterMove(row + 1);
}

void ClipListPanel::emailAction() {
    qCInfo(lcShell) << "email Selected";
    const QString address = localized(QStringLiteral("email_address"));
    QString url = QStringLiteral("mailto:%1?Subject=%2&body=%3").arg(address, QStringLiteral(" "), QStringLiteral(" "));
    url.replace(QLatin1Char(' '), QStringLiteral("%20"));
    Workspace::openURL(QUrl(url));
}

// ---- The two states and the lock ----

void ClipListPanel::showHint(bool hint) {
    for (QWidget* w : std::initializer_list<QWidget*>{_emailIconView, _email_addressLabel, _gettingstatedlabel})
        w->setVisible(hint);
    for (QLabel* label : _descLabels)
        label->setVisible(hint);
    for (QWidget* w : std::initializer_list<QWidget*>{_fileListTableView, _removeBtn, _clearBtn, _upBtn, _downBtn})
        w->setVisible(!hint);
}

void ClipListPanel::setListEnabled(bool enabled) {
    _fileListTableView->setEnabele(enabled);
    for (MOQButton* b : {_removeBtn, _clearBtn, _upBtn, _downBtn})
        b->setEnabled(enabled);
}
