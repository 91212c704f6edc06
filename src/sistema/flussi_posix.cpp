#include "sistema/flussi.hpp"

namespace turnolista::sistema {

FineRiga fine_riga_del_sistema() {
    return FineRiga::lf;
}

}  // namespace turnolista::sistema
