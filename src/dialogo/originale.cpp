#include "dialogo/dialogo.hpp"

#include <algorithm>
#include <array>
#include <cerrno>

#include "comune/codifica.hpp"

namespace turnolista {

namespace {

// Whether `nome` is `prima`, then one or more digits, then `dopo`.
bool numerato(std::string_view nome, std::string_view prima, std::string_view dopo) {
    return nome.size() > prima.size() + dopo.size() && nome.starts_with(prima) &&
           nome.ends_with(dopo) &&
           std::all_of(nome.begin() + prima.size(), nome.end() - dopo.size(), cifra);
}

using namespace std::string_view_literals;

// How each document's bytes start; a '?' stands for any byte.
constexpr std::array<std::pair<std::string_view, Documento>, 12> FIRME{{
    {"%PDF-", Documento::pdf},
    {"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", Documento::excel},  // old .xls or .doc
    {"PK\x03\x04", Documento::zip},                          // also .xlsx, .docx and OpenDocument
    {"PK\x05\x06", Documento::zip},
    {"\x89PNG", Documento::immagine},
    {"\xFF\xD8\xFF", Documento::immagine},  // JPEG
    {"GIF8", Documento::immagine},
    {"II*\0"sv, Documento::immagine},  // TIFF
    {"MM\0*"sv, Documento::immagine},
    {"????????WEBPVP8", Documento::immagine},
    {"????ftypheic", Documento::immagine},  // a phone's photo
    {"????ftypmif1", Documento::immagine},
}};

}  // namespace

std::optional<std::string> nome_simile(std::span<const std::string> nomi) {
    // Nearest first; the empty one stands for "originale (2).txt", of any number.
    constexpr std::array<std::string_view, 5> SIMILI{FILE_ORIGINALE, "originale.txt.txt", "",
                                                     "originale.txt.csv", "originale.csv"};
    for (const std::string_view simile : SIMILI) {
        for (const std::string& nome : nomi) {
            const std::string minuscolo = minuscolo_ascii(nome);
            if (nome != FILE_ORIGINALE &&
                (simile.empty() ? numerato(minuscolo, "originale (", ").txt")
                                : minuscolo == simile)) {
                return nome;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> zip_aperto(std::string_view cartella) {
    for (std::size_t da = 0, fine = 0; da < cartella.size(); da = fine + 1) {
        fine = std::min(cartella.find_first_of("\\/", da), cartella.size());
        const std::string_view parte = cartella.substr(da, fine - da);
        const std::string minuscola = minuscolo_ascii(parte);
        const std::size_t trattino = minuscola.find('_');
        // "temp1_x.zip"; with no '_', npos + 1 is 0 and the part is no number.
        if (numerato(minuscola.substr(0, trattino + 1), "temp", "_") &&
            minuscola.ends_with(".zip")) {
            return std::string(parte.substr(trattino + 1));
        }
    }
    return std::nullopt;
}

Esito solo_testo(std::string_view nome, std::string_view byte) {
    for (const auto& [firma, tipo] : FIRME) {
        if (!std::ranges::equal(firma, byte.substr(0, firma.size()),
                                [](char f, char b) { return f == '?' || f == b; })) {
            continue;
        }
        // Which program's an old Office file or a zip is, by its parts' names; OpenDocument
        // stores its kind first, uncompressed, as the file "mimetype", named at byte 30.
        const auto ha = [&](std::string_view parte) { return byte.find(parte) != FINE; };
        Documento documento = tipo;
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
        errore.altro = nome_simile(sistema::nomi_nella_cartella()).value_or("");
    }
    errore.zip = zip_aperto(errore.cartella).value_or("");
    return errore;
}

}  // namespace turnolista
