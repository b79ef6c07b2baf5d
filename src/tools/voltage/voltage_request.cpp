#include "voltage_request.h"

VoltageRequest VoltageRequestFor(ReadTarget target, const Project &project, const BcUnit *selectedBc,
                                 const AlLine *selectedAl) {
    switch (target) {
    case ReadTarget::Pd:
        return {true, project.settings.adr, QByteArrayLiteral("UBVOLT")};
    case ReadTarget::Bc:
        if (selectedBc)
            return {true, selectedBc->adr, QByteArrayLiteral("ELWLVOLTS")};
        break;
    case ReadTarget::Al:
        // The BC measures its own line: both must be chosen.
        if (selectedBc && selectedAl)
            return {true, selectedBc->adr, QByteArrayLiteral("ALVOLTS") + QByteArray::number(selectedAl->prt)};
        break;
    case ReadTarget::None:
        break;
    }
    return {};
}
