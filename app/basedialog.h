#pragma once

#include "basewidget.h"

#include <cstdint>

// A dialog is no top-level window: the main window puts it into its dialog
// page and runs exec(), which waits in a local event loop (the rest of the
// program keeps running) until the dialog emits DialogFinished. A dialog
// deleted while it waits ends exec() with 0.
class BaseDialog : public BaseWidget
{
    Q_OBJECT

public:
    explicit BaseDialog(QWidget *parent = nullptr);

    virtual int exec();

    int32_t dialogResult = 0;

signals:
    void DialogFinished();
};
