#pragma once

#include <QString>

#include "basedialog.h"

namespace Ui {
class LicenseDialog;
}

// Shows the licence texts of the libraries the tool ships with: one tab per
// library folder of the resources, the current tab's texts below.
class LicenseDialog : public BaseDialog
{
    Q_OBJECT

public:
    // `root` is the resource folder of the texts; tests point it elsewhere.
    explicit LicenseDialog(QWidget *parent = nullptr, const QString &root = QString());
    ~LicenseDialog() override;

    QString text() const;

public slots:
    void on_tabWdg_currentChanged(int index);
    void on_btnClose_clicked();
    void translateUiSlot(QWidget *ptr) override;

private:
    Ui::LicenseDialog *ui;
    QString m_root;
};
