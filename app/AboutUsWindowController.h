#pragma once

#include "LabelField.h"
#include "MOQButton.h"
#include "MOQView.h"
#include "WindowController.h"

#include <QPointer>

// The about box: the application's title, its version, links to the homepage and to an e-mail, a closing line and
// OK. It runs modally over the launcher; OK and the window's close control both end the modal run.
class AboutUsWindowController : public WindowController {
    Q_OBJECT
public:
    static constexpr double kWidth = 480;
    static constexpr double kHeight = 270;

    explicit AboutUsWindowController(QObject* parent = nullptr);
    ~AboutUsWindowController() override;

    // Shows the window modally; returns once OK or the close control has ended the run.
    void runModal();

    // "mailto:<address>?Subject= &body= " with every space as %20.
    static QString mailAddressUrl(const QString& address);

    MOQView* contentBackView() const { return _contentBackView; }
    LabelField* aboutTitleLabel() const { return _aboutTitleLabel; }
    LabelField* aboutVersionLabel() const { return _aboutVersionLabel; }
    MOQButton* middleLeftContentLabel() const { return _middleLeftContentLabel; }
    MOQButton* middleRightContentLabel() const { return _middleRightContentLabel; }
    LabelField* bottomContentLabel() const { return _bottomContentLabel; }
    MOQButton* okBtn() const { return _okBtn; }
    MOQView* topLine() const { return _topLine; }
    MOQView* bottomLine() const { return _bottomLine; }

protected:
    void windowDidLoad() override;
    bool windowShouldClose() override;

private:
    void loadViews();

    QPointer<MOQView> _contentBackView;
    QPointer<LabelField> _aboutTitleLabel;
    QPointer<LabelField> _aboutVersionLabel;
    QPointer<MOQButton> _middleLeftContentLabel;
    QPointer<MOQButton> _middleRightContentLabel;
    QPointer<LabelField> _bottomContentLabel;
    QPointer<MOQButton> _okBtn;
    QPointer<MOQView> _topLine;
    QPointer<MOQView> _bottomLine;
};
