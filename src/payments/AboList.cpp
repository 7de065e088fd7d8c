#include "payments/AboList.h"

#include "data/DataM1.h"
#include "data/Schemas.h"
#include "engine/Table.h"
#include "report/DataSource.h"
#include "report/LayoutLoader.h"
#include "report/Report.h"

#include <optional>

static void initAboListLayout()
{
    Q_INIT_RESOURCE(layouts);
}

using namespace Qt::StringLiterals;

namespace rur::payments {

QString aboListLayoutPath()
{
    return u":/layouts/Rban1.json"_s;
}

report::PreparedReport prepareAboList(data::TDM1 &dm, const QDate &today, int typPisma)
{
    initAboListLayout();
    static std::optional<report::ReportLayout> layout;
    if (!layout)
        layout = report::loadLayout(aboListLayoutPath());
    report::Report list(*layout);
    if (typPisma == 1)
        report::PrevodPisma1(list.layout());
    // MbanQr: the orders by accounting file and line, read from the file as written.
    engine::Table query(&dm.Danove, data::mbanDef());
    query.setSelectStatement(u"Select * From Mban order by M1, Rd"_s);
    query.open();
    report::TableRowsSource rows(query);
    list.setDataSource(u"MbanQr"_s, &rows);
    list.setLabelText(u"QRLabelDatum"_s, today.toString(u"dd.MM.yyyy"_s));
    engine::Table &mtt = *dm.Mtt;
    list.setLeftMarginMm(mtt.isActive() && !mtt.isEmpty() ? mtt.field(u"Vl"_s).asInteger() : 0);
    report::PreparedReport prepared = list.prepare();
    query.close();
    return prepared;
}

}  // namespace rur::payments
