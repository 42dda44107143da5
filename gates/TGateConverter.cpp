// The shared steps of the two gate converters.
#include "TGateConverter.h"

namespace quorlet {

bool TGateConverter::StartRun()
{
    ErrorFlag = false;
    cover_ = MinimizedCover{};
    library_ = GateLibrary{};
    network_ = GateNetwork{};
    return OpenMinimizedCover(*this, cover_, kMaxGateCoverTerms);
}

NetworkParams TGateConverter::NetworkParamsFor(NetworkStyle style) const
{
    NetworkParams params;
    params.maxGateInputs = library_.MaxGateInputs;
    params.maxPlainGateInputs = library_.MaxPlainGateInputs;
    params.style = style;
    params.inverting = cover_.InvFlag;
    return params;
}

bool TGateConverter::WriteNetworkMessages()
{
    for (const std::string& m : network_.messages) WriteLine(m);
    network_.messages.clear();
    if (network_.error) ErrorFlag = true;
    return !network_.error;
}

}  // namespace quorlet
