#pragma once

#include <QWidget>

namespace Ui {
class LicenseDialog;
}

namespace loader {

// The loader's licence window: one tab per licence folder of the resources,
// the texts of the current tab below. Made once with the main window and
// hidden again by Close.
class LicenseDialog : public QWidget
{
    Q_OBJECT
public:
    explicit LicenseDialog(QWidget *parent = nullptr);
    ~LicenseDialog() override;

private slots:
    void on_btnClose_clicked();
    void on_tabWdg_currentChanged(int index);

private:
    Ui::LicenseDialog *ui;
};

} // namespace loader
