#pragma once

#include <QWidget>
#include <memory>

namespace Ui { class TestConditionsWidget; }

// The four single-fault conditions under which a leakage test is repeated,
// as Ux::TestConditions bits: 1 mains reversed, 2 neutral open, 4 earth
// open, 8 source reversed.
class TestConditionsWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TestConditionsWidget(QWidget* parent = nullptr);
    ~TestConditionsWidget() override;

    // A box whose bit is clear in enabled cannot be changed but still shows
    // its bit of checked. Bits above the four are ignored.
    void setConditions(int enabled, int checked);
    // The ticked boxes, enabled or not.
    int conditions() const;

signals:
    void modified();

public slots:
    void stateChanged(int state);

private:
    std::unique_ptr<Ui::TestConditionsWidget> ui;
};
