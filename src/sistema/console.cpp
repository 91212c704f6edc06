#include "sistema/console.hpp"

#include "sistema/standard.hpp"

namespace turnolista {

// The streams are checked in order, so that a stream the program lacks is dealt with before
// the next one is looked at.
ConsoleStandard::ConsoleStandard()
    : tastiera_(0, sistema::stato_standard(0)),
      schermo_(1, sistema::stato_standard(1)),
      errori_(2, sistema::stato_standard(2)),
      in_(&tastiera_),
      out_(&schermo_),
      err_(&errori_),
      console_{.in = in_,
               .out = out_,
               .err = err_,
               .utf8 = sistema::console_utf8(),
               .causa_in = [this] { return tastiera_.errore(); },
               .causa_out = [this] { return schermo_.errore(); },
               .restituisci =
                   [this](std::size_t non_usati) {
                       if (const auto indietro = tastiera_.da_restituire(non_usati); indietro > 0) {
                           sistema::torna_indietro(indietro);
                       }
                   }} {}

}  // namespace turnolista
