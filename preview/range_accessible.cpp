#include "preview/range_accessible.h"

#include <QAccessibleWidget>

#include "preview/range_model.h"
#include "preview/range_slider.h"
#include "preview/slider_model.h"
#include "preview/time_field.h"

namespace {

class CAccessibleRangeSlider : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit CAccessibleRangeSlider(CRangeSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    CRangeSlider* Slider() const { return static_cast<CRangeSlider*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        const bool end = Slider()->FocusedHandle() == SliderElement::End;
        switch (t) {
            case QAccessible::Name:
                // The words of the handles' tips.
                return end ? QStringLiteral("End Time") : QStringLiteral("Begin Time");
            case QAccessible::Value:
                return QString::fromStdString(FormatTime(Slider()->FocusedHandleValue()));
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QVariant currentValue() const override { return Slider()->FocusedHandleValue(); }
    void setCurrentValue(const QVariant& value) override {
        Slider()->MoveFocusedHandle(value.toLongLong());
    }
    QVariant maximumValue() const override { return Slider()->Range().Maximum(); }
    QVariant minimumValue() const override { return 0u; }
    QVariant minimumStepSize() const override { return 1u; }
};

class CAccessibleTimeField : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit CAccessibleTimeField(CTimeField* field)
        : QAccessibleWidget(field, QAccessible::Grouping) {}

    CTimeField* Field() const { return static_cast<CTimeField*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Field()->Text();
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return Field()->GetValue(); }
    void setCurrentValue(const QVariant& value) override { Field()->Enter(value.toUInt()); }
    QVariant maximumValue() const override { return Field()->Maximum(); }
    QVariant minimumValue() const override { return 0u; }
    QVariant minimumStepSize() const override { return 1u; }
};

QAccessibleInterface* RangeControlFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("CRangeSlider"))
        return new CAccessibleRangeSlider(static_cast<CRangeSlider*>(object));
    if (className == QLatin1String("CTimeField"))
        return new CAccessibleTimeField(static_cast<CTimeField*>(object));
    return nullptr;
}

}  // namespace

void InstallRangeAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&RangeControlFactory);
        return true;
    }();
    (void)installed;
}
