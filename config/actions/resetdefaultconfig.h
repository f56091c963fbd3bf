#pragma once

#include "basewidget.h"

namespace Ui {
class ResetDefaultConfig;
}

// "Reset Default Config": after a confirmation the connected unit resets its
// whole configuration, network settings included, to the defaults.
class ResetDefaultConfig : public BaseWidget
{
    Q_OBJECT

public:
    explicit ResetDefaultConfig(QWidget *parent = nullptr);
    ~ResetDefaultConfig() override;

public slots:
    void on_btnReset_clicked();
    void translateUiSlot(QWidget *ptr) override;

private:
    Ui::ResetDefaultConfig *ui;
};
