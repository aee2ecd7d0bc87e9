#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// The pop-ups' custom value prompt: a modal question with one text field, "OK" and "Cancel". The entered text
// on OK, nothing on Cancel. Tests give their own answer through the provider.
class SplitValuePrompt {
public:
    using Provider = std::function<std::optional<QString>(const QString& prompt, const QString& defaultValue)>;

    static std::optional<QString> run(const QString& prompt, const QString& defaultValue, QWidget* parent);
    static void setProvider(Provider provider);
    static void resetProvider();
};
