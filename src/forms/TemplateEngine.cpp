#include "forms/Createforms.h"

#include "report/Reportfm.h"

namespace nkp::forms {

ReportEngine templateEngine(const FormClock& clock)
{
    // The document's DATE and TIME fields follow the clock of its name.
    const FormClock used = clock ? clock : FormClock(systemMoment);
    return [used](const std::string& data, const std::string& templ, const std::string& document) {
        report::GenerateReport(data, templ, document, {}, used);
    };
}

}  // namespace nkp::forms
