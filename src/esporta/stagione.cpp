#include "esporta/calendario.hpp"

#include <algorithm>

namespace turnolista {

using namespace std::chrono;

year_month_day oggi_a_roma(sys_seconds adesso) {
    const auto cambio = [anno = year_month_day(floor<days>(adesso)).year()](month mese) {
        return sys_days(anno / mese / Sunday[last]) + hours(1);
    };
    const bool estate = adesso >= cambio(March) && adesso < cambio(October);
    return {floor<days>(adesso + hours(estate ? 2 : 1))};
}

void anni(std::vector<Evento>& eventi, std::vector<Scartata>& scartate, year_month_day oggi) {
    // The month and the day as one number, a month taking 32; the first date again a year
    // later closes the gap across the year's end.
    const auto chiave = [](const Evento& e) { return e.data.mese * 32 + e.data.giorno; };
    std::vector<unsigned> chiavi(eventi.size() + 1);
    std::transform(eventi.begin(), eventi.end(), chiavi.begin(), chiave);
    std::sort(chiavi.begin(), chiavi.end() - 1);
    chiavi.back() = chiavi.front() + 12 * 32;
    unsigned fine = 0;    // the last date before the longest gap, the season's last match
    unsigned inizio = 0;  // the first after it; a date before it is in the next year
    for (std::size_t i = 1; i < chiavi.size(); ++i) {
        if (chiavi[i] - chiavi[i - 1] > inizio - fine) {
            fine = chiavi[i - 1];
            inizio = chiavi[i];
        }
    }
    const auto dopo_capodanno = [&](const Evento& e) { return chiave(e) < inizio ? 1 : 0; };
    const auto con_anno =
        std::ranges::find_if(eventi, [](const Evento& e) { return e.data.anno != 0; });
    // With no year written, the season whose last match is not over.
    const bool finita = !eventi.empty() &&
                        sys_days(oggi.year() / month(fine / 32) / day(fine % 32)) < sys_days(oggi);
    const int primo = con_anno != eventi.end() ? con_anno->data.anno - dopo_capodanno(*con_anno)
                                               : static_cast<int>(oggi.year()) - (finita ? 0 : 1);
    for (Evento& e : eventi) {
        e.giorno = year(e.data.anno != 0 ? e.data.anno : primo + dopo_capodanno(e)) /
                   month(e.data.mese) / day(e.data.giorno);
        if (!e.giorno.ok()) {
            scartate.push_back({e.numero, Scartata::Motivo::data_inesistente, e.scritta});
        }
    }
    std::erase_if(eventi, [](const Evento& e) { return !e.giorno.ok(); });
}

}  // namespace turnolista
