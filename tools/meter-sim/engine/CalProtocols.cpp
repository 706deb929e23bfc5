#include "engine/CalProtocols.h"

namespace CalProtocols {

QByteArray Ph() {
    return QByteArrayLiteral("586,2024,3,11,8,42,17,1,-58.6,4.2,3,7,0,0,3,"
                             "4.01,172.4,24.8,7.00,-3.1,25.0,10.01,-178.9,25.3");
}

QByteArray Turbidity() {
    return QByteArrayLiteral("585,2024,3,12,9,5,40,30");
}

QByteArray ExtendedTurbidity() {
    return QByteArrayLiteral("587,2024,3,12,9,5,40,30,4-P StdCAL,4,0.02,10.0,100,1000");
}

} // namespace CalProtocols
