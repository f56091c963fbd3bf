#pragma once

#include "basedialog.h"

namespace Ui {
class ScalingDialog;
}

// Lets the engineer choose the display scale factor. "Apply and Restart
// Application" stores it in "cfg.ini" and ends with 1337 (the main window
// then restarts the program); "Exit" stores nothing and ends with -1.
class ScalingDialog : public BaseDialog
{
    Q_OBJECT

public:
    static constexpr int kRestartCode = 1337;

    explicit ScalingDialog(QWidget *parent = nullptr);
    ~ScalingDialog() override;

    // Settings file the dialog reads and writes; "cfg.ini" unless a test
    // points it elsewhere.
    void setIniPath(const QString &path);
    int currentIndex() const;
    double chosenFactor() const;

public slots:
    void on_cmbScaleSel_currentIndexChanged(int index);
    void on_btnApply_clicked();
    void on_btnExit_clicked();
    void on_spnFactor_editingFinished();
    void translateUiSlot(QWidget *ptr) override;

private:
    void selectStoredFactor();

    Ui::ScalingDialog *ui;
    QString iniPath;
};
