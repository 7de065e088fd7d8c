#include "kh/forms/FindKhForm.h"

#include "data/DataM1.h"
#include "engine/EngineError.h"
#include "engine/Table.h"
#include "kh/Register.h"
#include "ui/forms/Editz.h"
#include "vat/WindowRules.h"

#include <QGroupBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace rur::kh {

TFindKhForm::TFindKhForm(vat::WindowContext ctx, QWidget *parent)
    : FindForm(std::move(ctx), int(vat::WindowId::FindStatement), parent)
{
    edit_ = new ui::TEditz(this);
    edit_->setObjectName(u"HledatEdit"_s);
    auto *group = new QGroupBox(u"Vyhledávat podle čísla dokladu a DIČ"_s, this);
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(edit_);
    build(group, u"Napište číslo dokladu nebo DIČ (i jeho část), které hledáte"_s, 60);
    connect(edit_, &QLineEdit::textChanged, this, [this](const QString &text) {
        engine::Table &dkh = *ctx_.dm.Dkh;
        if (!dkh.isActive() || dkh.isEditing())
            return;
        // The row found stays found while the text grows.
        const int row = findRow(dkh, text, dkh.currentRow());
        try {
            if (row >= 0)
                dkh.goToRow(row);
        } catch (const engine::EngineError &) {
        }
    });
}

void findInRegister(const vat::WindowContext &ctx, QWidget *parent)
{
    TFindKhForm(ctx, parent).exec();
}

}  // namespace rur::kh
