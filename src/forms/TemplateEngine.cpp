#include "forms/Createforms.h"

#include "report/Reportfm.h"

namespace nkp::forms {

ReportEngine templateEngine()
{
    return [](const std::string& data, const std::string& templ, const std::string& document) {
        report::GenerateReport(data, templ, document, nullptr);
    };
}

}  // namespace nkp::forms
