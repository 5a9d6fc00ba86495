#include "shell/dialogs/workername.h"

#include "shell/db/dbaccess.h"
#include "shell/db/sqltext.h"
#include "shell/dialogs/prompt.h"

namespace mss::dialogs {

std::optional<WorkerName> LookUpWorkerName(const QString& workerCode) {
    db::Recordset rs;
    db::OpenQuery(rs, db::Sql("MSS..sp_MSS_GetEmployeeName '").val(workerCode).lit("'"));
    if (rs.Eof()) {
        rs.Close();
        ui::MsgBox("Employee No Longer Exists.", ui::Icon::Exclamation, ui::Buttons::Ok, "MESSAGE");
        return std::nullopt;
    }
    WorkerName name;
    name.EmployeeName = db::FieldText(rs, "EmployeeName");
    if (rs.HasField("licensenumber")) name.LicenseNumber = db::FieldText(rs, "licensenumber");
    rs.Close();
    return name;
}

}  // namespace mss::dialogs
