#include "recorder/DataFileLayout.h"

namespace nkp::recorder {

const std::array<IdFieldLayout, kIdFieldCount>& identificationFields()
{
    static constexpr std::array<IdFieldLayout, kIdFieldCount> table = {{
        {IdField::ServiceOrg, 270337, 50, false, "service organisation"},
        {IdField::Operator, 270387, 50, false, "operator"},
        {IdField::CertNumber, 270437, 11, false, "certificate number"},
        {IdField::CertValidity, 270448, 11, false, "certificate validity"},
        // 16 characters and the terminating zero the writer always adds.
        {IdField::ReadingDate, 270459, 17, true, "reading date"},
        {IdField::CraneModel, 270476, 15, false, "crane model"},
        {IdField::CraneNumber, 270491, 10, false, "crane number"},
        {IdField::CraneYear, 270501, 5, false, "crane year"},
        {IdField::NormGroup, 270506, 3, false, "normative group"},
        {IdField::CraneMaker, 270509, 50, false, "crane manufacturer"},
        {IdField::CraneOwner, 270559, 50, false, "crane owner"},
        {IdField::LimiterModel, 270609, 12, false, "limiter model"},
        {IdField::LimiterNumber, 270621, 8, false, "limiter number"},
        {IdField::ControllerNumber, 270629, kUnboundedWidth, false, "controller number"},
    }};
    return table;
}

const IdFieldLayout& fieldLayout(IdField field)
{
    return identificationFields()[static_cast<std::size_t>(field)];
}

}  // namespace nkp::recorder
