#pragma once

#include <QWidget>

class QToolButton;

namespace doxel {

// A pair of arrows that steps a whole number by one within a range,
// without wrapping, for a number field beside it (the UpDown control).
class UpDown final : public QWidget {
    Q_OBJECT

public:
    UpDown(int minimum, int maximum, QWidget* parent = nullptr);

    int value() const { return m_value; }
    // Brought into the range; reports nothing.
    void setValue(int value);

    void stepUp();
    void stepDown();

signals:
    // An arrow moved the number.
    void stepped(int value);

private:
    void step(int by);

    int m_minimum;
    int m_maximum;
    int m_value;
    QToolButton* m_up;
    QToolButton* m_down;
};

}  // namespace doxel
