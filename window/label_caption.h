#pragma once

#include <QLabel>

#include "run_services.h"

namespace buffon {

class LabelCaption final : public Caption {
public:
    explicit LabelCaption(QLabel& label) : label_(label) {}

    void SetCaption(const std::string& text) override
    {
        label_.setText(QString::fromStdString(text));
    }

private:
    QLabel& label_;
};

}  // namespace buffon
