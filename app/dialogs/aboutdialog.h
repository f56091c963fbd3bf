#pragma once

#include <QString>
#include <QVector>

#include "basedialog.h"
#include "devicerecords.h"
#include "errordecode.h"

class VersionInfo;

namespace Ui {
class AboutDialog;
}

// Which tool, Qt library and host system are running and, when a unit
// answers, which hardware and firmware it carries. The text is rebuilt each
// time the dialog is shown.
class AboutDialog : public BaseDialog
{
    Q_OBJECT

public:
    // One line of the text: appended as HTML or as plain text.
    struct Line
    {
        bool html = false;
        QString text;
        bool operator==(const Line &other) const { return html == other.html && text == other.text; }
    };

    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

    // The dialog's text for a tool version record and the result of asking
    // the unit for `record`. Without `unitBlock` the text ends before the
    // unit's part (shown while the unit is being asked).
    static QVector<Line> infoLines(const VersionInfo &version, errorCode_e readResult,
                                   const ProductInfoRecord &record, bool unitBlock = true);

    QString text() const;

public slots:
    void on_btnClose_clicked();
    void translateUiSlot(QWidget *ptr) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillText();
    void showLines(const QVector<Line> &lines);

    Ui::AboutDialog *ui;
    bool m_filling = false;
};
