#pragma once

#include <QObject>
#include <QStringList>

#include "WindowServices.h"

class QWidget;

namespace quelvar {

// The file dialog control, as Qt's own file dialog (the same on every desktop, and one that
// tests can answer).
class QtCommonDialog : public QObject, public CommonDialog {
    Q_OBJECT
  public:
    explicit QtCommonDialog(QWidget* parent);

    bool ShowOpen() override;
    bool ShowSave() override;

    // "description|pattern|description|pattern" as Qt name filters; a description that already
    // ends in its pattern in parentheses is shown as it is.
    static QStringList NameFilters(const std::string& filter);

  private:
    enum class Purpose { Open, Save };
    bool Show(Purpose purpose);

    QWidget* parent_;
};

}  // namespace quelvar
