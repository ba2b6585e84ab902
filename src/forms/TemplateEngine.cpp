#include "forms/Createforms.h"

#if __has_include("report/Reportfm.h")
#include "report/Reportfm.h"
#define NKP_FORMS_HAVE_ENGINE 1
#endif

#include <stdexcept>

namespace nkp::forms {

ReportEngine templateEngine(const FormClock& clock)
{
#ifdef NKP_FORMS_HAVE_ENGINE
    return [clock](const std::string& data, const std::string& templ, const std::string& document) {
        const report::ReportClock reportClock = [clock] {
            const FormMoment m = clock ? clock() : systemMoment();
            return report::ReportDateTime{m.year, m.month, m.day, m.hour, m.minute};
        };
        report::GenerateReport(data, templ, document, {}, reportClock);
    };
#else
    (void)clock;
    return [](const std::string&, const std::string&, const std::string&) {
        throw std::runtime_error("template engine missing");
    };
#endif
}

}  // namespace nkp::forms
