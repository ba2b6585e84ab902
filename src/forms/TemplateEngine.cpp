#include "forms/Createforms.h"

#include "report/Reportfm.h"

namespace nkp::forms {

ReportEngine templateEngine(const base::Clock& clock)
{
    // The document's DATE and TIME fields follow the clock of its name.
    return [&clock](const std::string& data, const std::string& templ, const std::string& document) {
        return report::GenerateReport(data, templ, document, {}, clock);
    };
}

}  // namespace nkp::forms
