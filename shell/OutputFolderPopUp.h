#pragma once

#include <QComboBox>
#include <QStringList>

// The output-folder pop-up of every feature window and the folder it stands for (`outputPath`).
//
// Items: 0 Movies, 1 Documents, 2 Desktop, 3 the default folder (Documents + "/" + the localised "Title"),
// 4 "Other..." (a folder panel), and after a folder was chosen through item 4, 5 that folder. Choosing an item
// (activated, also the same item again) runs outputPopUpBtnAction. After each choice the pop-up shows the last
// path component of the folder: the item of that title is selected, or an item of that title is added at the end
// when none has it (so Movies shows as an added item when its localised title differs from the folder's name).
class OutputFolderPopUp : public QComboBox {
    Q_OBJECT
public:
    enum Item { Movies = 0, Documents = 1, Desktop = 2, DefaultFolder = 3, OtherFolder = 4, ChosenFolder = 5 };

    explicit OutputFolderPopUp(QWidget* parent = nullptr);

    QString outputPath() const { return _outputPath; }
    void setOutputPath(const QString& path) { _outputPath = path; }
    QStringList outputPathTitles() const { return _outputPathTitles; }

    // With no sender, item 3 is selected first (the set-up's call); the choice of the selected item then applies.
    void outputPopUpBtnAction(QObject* sender);

    // Documents + "/" + the localised "Title".
    static QString defaultFolder();

private:
    void rebuildItems();
    void chooseOtherFolder();
    void showFolderTitle();

    QString _outputPath;
    QStringList _outputPathTitles;
};
