#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "esecuzione_sistema.hpp"

namespace prova {

namespace fs = std::filesystem;

unsigned long questo_processo() {
    return ::GetCurrentProcessId();
}

bool da_root() {
    return false;
}

bool cartelle_raggiungibili() {
    return true;
}

unsigned utente_senza_privilegi() {
    return 0;
}

namespace sistema {

namespace {

// A text of the tests in UTF-16: as UTF-8 where it is, else in the ANSI code page, as the
// tests write bytes that a Windows program is given.
std::wstring largo(const std::string& testo) {
    if (testo.empty()) {
        return {};
    }
    const int n = static_cast<int>(testo.size());
    UINT pagina = CP_UTF8;
    int lunghezza =
        ::MultiByteToWideChar(pagina, MB_ERR_INVALID_CHARS, testo.data(), n, nullptr, 0);
    if (lunghezza == 0) {
        pagina = CP_ACP;
        lunghezza = ::MultiByteToWideChar(pagina, 0, testo.data(), n, nullptr, 0);
    }
    std::wstring risultato(static_cast<std::size_t>(lunghezza), L'\0');
    ::MultiByteToWideChar(pagina, 0, testo.data(), n, risultato.data(), lunghezza);
    return risultato;
}

// An argument as the C runtime of the program will split it again from the command line.
std::wstring citato(const std::wstring& argomento) {
    std::wstring riga = L"\"";
    std::size_t barre = 0;
    for (const wchar_t c : argomento) {
        if (c == L'\\') {
            ++barre;
            continue;
        }
        riga.append(c == L'"' ? 2 * barre + 1 : barre, L'\\');
        barre = 0;
        riga += c;
    }
    riga.append(2 * barre, L'\\');
    return riga + L"\"";
}

HANDLE apri(const fs::path& percorso, DWORD accesso, DWORD creazione) {
    SECURITY_ATTRIBUTES ereditabile{sizeof ereditabile, nullptr, TRUE};
    const HANDLE h =
        ::CreateFileW(percorso.wstring().c_str(), accesso, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      &ereditabile, creazione, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + percorso.string());
    }
    return h;
}

}  // namespace

bool testo_crlf() {
    return true;
}

// Process ids come round again, so a name left by an earlier run is passed over.
fs::path cartella_nuova() {
    static std::atomic<unsigned> contatore{0};
    const std::string base = "turnolista-e2e-" + std::to_string(::GetCurrentProcessId()) + "-";
    for (;;) {
        const fs::path cartella = fs::temp_directory_path() / (base + std::to_string(contatore++));
        if (fs::create_directory(cartella)) {
            return cartella;
        }
    }
}

void prepara(const Avvio& avvio, const fs::path& lavoro) {
    if (!avvio.link.empty() || !avvio.hard.empty() || !avvio.proprietari.empty() ||
        !avvio.fifo.empty() || !avvio.segnali_ignorati.empty() || !avvio.segnali_bloccati.empty() ||
        !avvio.sotto.empty() || avvio.limite_memoria != 0 || avvio.limite_file != 0 ||
        avvio.senza_privilegi || !avvio.output_su.empty() ||
        avvio.ambiente != std::vector<std::string>{"LC_ALL=C"}) {
        throw std::logic_error("this run needs what only POSIX systems have");
    }
    // Windows keeps one permission of a file: whether it is read-only.
    for (const auto& [nome, modo] : avvio.permessi) {
        fs::permissions(lavoro / nome, static_cast<fs::perms>(modo));
    }
}

int lancia(const Avvio& avvio, const fs::path& lavoro, const fs::path& io) {
    const HANDLE in = apri(io / "in", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = apri(io / "out", GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = apri(io / "err", GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW avvio_processo{};
    avvio_processo.cb = sizeof avvio_processo;
    avvio_processo.dwFlags = STARTF_USESTDHANDLES;
    // A stream the program is started without has no handle at all.
    avvio_processo.hStdInput = avvio.senza_input ? nullptr : in;
    avvio_processo.hStdOutput = avvio.senza_output ? nullptr : out;
    avvio_processo.hStdError = err;
    // The program inherits this process's environment.
    ::SetEnvironmentVariableW(L"TURNOLISTA_ADESSO",
                              avvio.adesso.empty() ? nullptr : largo(avvio.adesso).c_str());
    std::wstring riga = citato(largo(eseguibile(avvio)));
    for (const auto& argomento : avvio.argomenti) {
        riga += L" " + citato(largo(argomento));
    }
    PROCESS_INFORMATION processo{};
    const std::wstring cartella = lavoro.wstring();
    // A run that is acted on while it runs has a console of its own, to take Ctrl-C.
    const DWORD modo = avvio.durante ? CREATE_NEW_CONSOLE : 0;
    // Wine, busy with another run beside it, now and then fails a start that works at once
    // when tried again; a program that cannot start fails every try.
    bool partito = false;
    DWORD errore = 0;
    for (int tentativo = 0; tentativo < 3 && !partito; ++tentativo) {
        partito = ::CreateProcessW(nullptr, riga.data(), nullptr, nullptr, TRUE, modo, nullptr,
                                   cartella.c_str(), &avvio_processo, &processo) != 0;
        errore = partito ? 0 : ::GetLastError();
    }
    if (!partito) {
        throw std::runtime_error("cannot start " TURNOLISTA ": error " + std::to_string(errore));
    }
    ::CloseHandle(processo.hThread);
    if (avvio.durante) {
        avvio.durante(static_cast<int>(processo.dwProcessId), lavoro);
    }
    // A program that hangs is ended, and the test fails on its status.
    if (::WaitForSingleObject(processo.hProcess, static_cast<DWORD>(LIMITE.count() * 1000)) ==
        WAIT_TIMEOUT) {
        ::TerminateProcess(processo.hProcess, 124);
        ::WaitForSingleObject(processo.hProcess, INFINITE);
    }
    DWORD stato = 0;
    ::GetExitCodeProcess(processo.hProcess, &stato);
    ::CloseHandle(processo.hProcess);
    ::CloseHandle(out);
    ::CloseHandle(err);
    ::CloseHandle(in);
    return static_cast<int>(stato);
}

bool in_corso(int programma) {
    const HANDLE processo = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(programma));
    if (processo == nullptr) {
        return false;
    }
    const bool vivo = ::WaitForSingleObject(processo, 0) == WAIT_TIMEOUT;
    ::CloseHandle(processo);
    return vivo;
}

void descrivi(const fs::path& percorso, const std::string& nome, Esecuzione& esito) {
    esito.permessi[nome] = static_cast<unsigned>(fs::status(percorso).permissions()) & 0777U;
    esito.attributi[nome] = ::GetFileAttributesW(percorso.wstring().c_str());
    // A read-only file would keep the folder from being removed.
    fs::permissions(percorso, fs::perms::owner_write, fs::perm_options::add);
}

// The console host of a run with a console of its own may still hold its output files
// for a moment after the program has ended.
void rimuovi(const fs::path& cartella) {
    for (int tentativo = 0;; ++tentativo) {
        std::error_code errore;
        fs::remove_all(cartella, errore);
        if (!errore) {
            return;
        }
        if (tentativo == 100) {
            throw fs::filesystem_error("cannot remove the run's folder", cartella, errore);
        }
        ::Sleep(50);
    }
}

}  // namespace sistema
}  // namespace prova
