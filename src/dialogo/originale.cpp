#include "dialogo/dialogo.hpp"

#include <algorithm>
#include <array>
#include <cerrno>

#include "comune/codifica.hpp"
#include "sistema/sistema.hpp"

namespace turnolista {

namespace {

bool solo_cifre(std::string_view testo) {
    return !testo.empty() && std::all_of(testo.begin(), testo.end(), cifra);
}

// "originale (2).txt"
bool copia_scaricata(std::string_view nome) {
    constexpr std::string_view PRIMA = "originale (";
    constexpr std::string_view DOPO = ").txt";
    return nome.size() > PRIMA.size() + DOPO.size() && nome.starts_with(PRIMA) &&
           nome.ends_with(DOPO) &&
           solo_cifre(nome.substr(PRIMA.size(), nome.size() - PRIMA.size() - DOPO.size()));
}

using namespace std::string_view_literals;

// How each document's bytes start, from the byte `dove`.
struct Firma {
    std::size_t dove;
    std::string_view byte;
    Documento documento;
};
constexpr std::array FIRME{
    Firma{0, "%PDF-"sv, Documento::pdf},
    Firma{0, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"sv, Documento::excel},  // old .xls or .doc
    Firma{0, "PK\x03\x04"sv, Documento::zip},  // also .xlsx, .docx and OpenDocument
    Firma{0, "PK\x05\x06"sv, Documento::zip},
    Firma{0, "\x89PNG"sv, Documento::immagine},
    Firma{0, "\xFF\xD8\xFF"sv, Documento::immagine},  // JPEG
    Firma{0, "GIF8"sv, Documento::immagine},
    Firma{0, "II*\0"sv, Documento::immagine},  // TIFF
    Firma{0, "MM\0*"sv, Documento::immagine},
    Firma{8, "WEBPVP8"sv, Documento::immagine},
    Firma{4, "ftypheic"sv, Documento::immagine},  // a phone's photo
    Firma{4, "ftypmif1"sv, Documento::immagine},
};

}  // namespace

std::optional<std::string> nome_simile(std::span<const std::string> nomi) {
    const std::array<bool (*)(std::string_view), 5> somiglianze{
        [](std::string_view n) { return n == FILE_ORIGINALE; },
        [](std::string_view n) { return n == "originale.txt.txt"; },
        copia_scaricata,
        [](std::string_view n) { return n == "originale.txt.csv"; },
        [](std::string_view n) { return n == "originale.csv"; },
    };
    for (const auto somiglia : somiglianze) {
        const auto trovato = std::find_if(nomi.begin(), nomi.end(), [&](const std::string& nome) {
            return nome != FILE_ORIGINALE && somiglia(minuscolo_ascii(nome));
        });
        if (trovato != nomi.end()) {
            return *trovato;
        }
    }
    return std::nullopt;
}

std::optional<std::string> zip_aperto(std::string_view cartella) {
    // Explorer's folder for it is "Temp" and a number, "_", and the zip's name.
    for (std::size_t da = 0, fine = 0; da < cartella.size(); da = fine + 1) {
        fine = std::min(cartella.find_first_of("\\/", da), cartella.size());
        const std::string_view parte = cartella.substr(da, fine - da);
        const std::string minuscola = minuscolo_ascii(parte);
        const std::size_t trattino = minuscola.find('_');
        if (minuscola.starts_with("temp") && minuscola.ends_with(".zip") &&
            trattino != std::string::npos && solo_cifre(minuscola.substr(4, trattino - 4))) {
            return std::string(parte.substr(trattino + 1));
        }
    }
    return std::nullopt;
}

Esito solo_testo(std::string_view nome, std::string_view byte) {
    for (const Firma& firma : FIRME) {
        if (byte.size() < firma.dove || !byte.substr(firma.dove).starts_with(firma.byte)) {
            continue;
        }
        // Which program's an old Office file or a zip is, by its parts' names; OpenDocument
        // stores its kind first, uncompressed, as the file "mimetype", named at byte 30.
        const auto ha = [&](std::string_view parte) { return byte.find(parte) != byte.npos; };
        Documento documento = firma.documento;
        if (documento == Documento::excel) {
            documento = ha("W\0o\0r\0d\0D\0o\0c\0u\0m\0e\0n\0t\0"sv) ? Documento::word : documento;
        } else if (documento == Documento::zip) {
            constexpr std::string_view ODF = "mimetypeapplication/vnd.oasis.opendocument";
            documento = byte.size() > 30 && byte.substr(30).starts_with(ODF)
                            ? Documento::opendocument
                        : ha("xl/workbook")   ? Documento::excel
                        : ha("word/document") ? Documento::word
                                              : documento;
        }
        return {.tipo = Esito::Tipo::non_testo,
                .oggetto = Oggetto::file(nome),
                .in_lettura = true,
                .documento = documento};
    }
    return {};
}

Risultato<std::string> leggi_originale(std::string_view nome) {
    auto lista = sistema::leggi_lista(nome);
    Esito errore = lista ? solo_testo(nome, *lista) : lista.errore();
    if (errore.ok()) {
        return lista;
    }
    errore.cartella = sistema::cartella_corrente();
    if (errore.tipo == Esito::Tipo::lettura && errore.causa == ENOENT && nome == FILE_ORIGINALE) {
        errore.simile = nome_simile(sistema::nomi_nella_cartella()).value_or("");
    }
    errore.zip = zip_aperto(errore.cartella).value_or("");
    return errore;
}

}  // namespace turnolista
