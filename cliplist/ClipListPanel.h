#pragma once

#include "JoinnerTableView.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class MOQButton;
class MOQImageView;
class QLabel;
class SimpleData;
struct ViewRect;

// The list half of the joiner's and the batch cutter's content, built into the window's content panel: the add
// button, the list of clips with its four buttons (remove, clear, up, down), and the hint panel that the empty
// window shows in the list's place (the mail link, a heading and numbered tips).
//
// Adding (the open panel, then every file probed off the main thread), moving a clip up or down and the mail link
// are the same in both windows and done here; what a window does with probed clips, and its Remove and Clear, go
// through the closures.
class ClipListPanel : public QObject {
    Q_OBJECT
public:
    struct Hint {
        QString headingKey;
        QStringList tipKeys; // each shown as "<n>." and its text
        double tipPitch = 50;
        double tipHeight = 44;

        // The heading under `key` and the tips under key1 ... key<count>.
        static Hint numbered(const QString& key, int count);
    };

    ClipListPanel(std::shared_ptr<SimpleDataList> fileList, QWidget* panel, const Hint& hint,
                  QObject* parent = nullptr);
    ~ClipListPanel() override;

    // Each called on the main queue after its button was pressed.
    std::function<void(const QList<std::shared_ptr<SimpleData>>& added, const QStringList& rejected)> probed;
    std::function<void()> removePressed;
    std::function<void()> clearPressed;

    void addFileAction();
    void addFiles(const QStringList& paths);
    bool isAdding() const { return _pendingAdds > 0; }
    // Removes the selected clip and re-feeds the list; false when no row names a clip.
    bool removeSelected();
    // Removes every clip and re-feeds the list.
    void removeAll();
    void upAction();
    void downAction();
    void emailAction();

    // The hint (true) or the list and its buttons (false).
    void showHint(bool hint);
    // The list view and its four buttons, for the edit lock.
    void setListEnabled(bool enabled);

    JoinnerTableView* fileListTableView() const { return _fileListTableView; }
    MOQImageView* contentNofileTishiView() const { return _contentNofileTishiView; }
    MOQButton* addfileBtn() const { return _addfileBtn; }
    MOQButton* removeBtn() const { return _removeBtn; }
    MOQButton* clearBtn() const { return _clearBtn; }
    MOQButton* upBtn() const { return _upBtn; }
    MOQButton* downBtn() const { return _downBtn; }
    MOQButton* emailIconView() const { return _emailIconView; }
    QLabel* gettingstatedlabel() const { return _gettingstatedlabel; }
    const std::vector<QLabel*>& descLabels() const { return _descLabels; }

private:
    void buildAddButton(QWidget* panel);
    void buildHint(const Hint& hint);
    void buildListButtons(QWidget* panel);
    void selectRowAfterMove(qint64 row);
    void removeRequested();
    void clearRequested();

    std::shared_ptr<SimpleDataList> _fileList;
    int _pendingAdds = 0;
    JoinnerTableView* _fileListTableView = nullptr;
    MOQImageView* _contentNofileTishiView = nullptr;
    MOQButton* _emailIconView = nullptr;
    QLabel* _email_addressLabel = nullptr;
    QLabel* _gettingstatedlabel = nullptr;
    std::vector<QLabel*> _descLabels;
    MOQButton* _addfileBtn = nullptr;
    MOQButton* _removeBtn = nullptr;
    MOQButton* _clearBtn = nullptr;
    MOQButton* _upBtn = nullptr;
    MOQButton* _downBtn = nullptr;
};
