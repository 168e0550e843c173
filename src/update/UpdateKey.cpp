#include "update/UpdateKey.h"

namespace quenmar::update {

std::string_view updatePublicKeyPem() {
    static constexpr std::string_view pem =
        "-----BEGIN PUBLIC KEY-----\n"
        "MIICIjANBgkqhkiG9w0BAQEFAAOCAg8AMIICCgKCAgEAsJLjphIYMDgOu6Gbfmqh\n"
        "SFBLMRzfT78JJx+Ge34QbE/w6fLy0r/BBFboHH1LQ8MCX0NTquY2MzXG510klxj9\n"
        "rI3/boQmdKJ97DDPiHxeX4hRmhQ6th0UBVd72pLK57acqpdwYNnFr1Tb9blpLnfu\n"
        "bB+BVMQKpwCHb+XK5i6G3Okjfr2C9MDo78NncnJiTr9X3KJo6fs5vi+SGuudwrIU\n"
        "43kfH/OCB31LDwtXAPFavD+OcB0II9KW0wdlVblmAE2N7HH3DZaTPLyOS3WY6tVD\n"
        "IlMC35FoBBXZDvPiqcgFF+/mBS8oqA8dGZOiwaaJ/dDV3PmP4TvEnhrH358frLPf\n"
        "r2Ny8VpBflyH0MIN7tJYbv38lwNkpqoDyEqv/jiMrV0OwfBCnAg8yuoc1CrLthl6\n"
        "IWA5EoBmiCFIcBgJ82xMFeo5dznKuR6nJir/dVTsjzLrw6WTg0+51/w6jeUlWH2W\n"
        "qpXvFmLCNEO/0OkqyfTyQq5Cp+Pt+TQnI8jKBy7qgf6qNDR367k6UyzxCswFYhMz\n"
        "Wv2Xpw39+hTeBcUNruI5f7CxgqyvMwKo9u9amNPc9cF4h10PkdVye0ljk4bI371e\n"
        "olVa8tA8rxYsDckhvAf4mcWvGKh8a72Rse/ShYaonBmYc9JNf45cEPdUYaenrTLt\n"
        "WCMLoy4Nv8uAopJZJCVNAi8CAwEAAQ==\n"
        "-----END PUBLIC KEY-----\n";
    return pem;
}

} // namespace quenmar::update
