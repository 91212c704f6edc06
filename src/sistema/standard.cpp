#include "sistema/standard.hpp"

namespace turnolista::sistema {

Oggetto oggetto_standard(int quale) {
    return quale == 0   ? Oggetto::standard_input()
           : quale == 1 ? Oggetto::standard_output()
                        : Oggetto::standard_error();
}

// The streams are asked for in order, so that a stream the program lacks is dealt with
// before the next one is looked at.
FlussiStandard::FlussiStandard()
    : tastiera_(canale_standard(0)),
      schermo_(canale_standard(1)),
      errori_(canale_standard(2)),
      buffer_out_(*schermo_),
      buffer_err_(*errori_),
      out_(&buffer_out_),
      err_(&buffer_err_),
      console_{.in = *tastiera_,
               .out = out_,
               .err = err_,
               .utf8 = console_utf8(1),
               .utf8_err = console_utf8(2),
               .abitudini_windows = abitudini_windows(),
               .finestra_propria = finestra_propria(),
               .esito_out = [this] { return buffer_out_.esito(); }} {}

}  // namespace turnolista::sistema
