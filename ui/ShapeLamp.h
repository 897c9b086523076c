#pragma once
// A round indicator lamp (the status LEDs and the modem lamp of the System tab).
// Its fill colour is a BGR value as the rest of the program writes colours
// (65280 green, 16777215 white); the property "FillColor" carries the same value.
#include <QWidget>

class ShapeLamp : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int FillColor READ fillColor WRITE setFillColor)
public:
    static constexpr int White = 16777215;
    static constexpr int Green = 65280;

    explicit ShapeLamp(QWidget* parent = nullptr);
    int fillColor() const { return m_bgr; }
    void setFillColor(int bgr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int m_bgr = White;
};
