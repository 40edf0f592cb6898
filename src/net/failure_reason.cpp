#include "net/failure_reason.h"

#include "net/result_codes.h"

std::string FailureLine(Failure failure, int seconds)
{
    switch (failure) {
    case Failure::None:
        return "";
    case Failure::Refused:
        return "Verbindung abgelehnt: Auf diesem Port nimmt der Server keine Verbindungen an.";
    case Failure::Unreachable:
        return "Der Server ist über das Netz nicht erreichbar.";
    case Failure::UnknownHost:
        return "Der Name des Servers lässt sich nicht auflösen: Er ist unbekannt, oder der Namensdienst antwortet "
               "nicht.";
    case Failure::NoAnswer:
        return seconds > 0 ? "Keine Antwort: Der Server hat nicht innerhalb von " + std::to_string(seconds)
                                 + " Sekunden geantwortet."
                           : "Keine Antwort: Der Server hat nicht rechtzeitig geantwortet.";
    case Failure::Stalled:
        return "Keine Antwort: Die Übertragung vom Server kam nicht mehr voran.";
    case Failure::ServiceRefused:
        return "Der Server weist die Verbindung ab.";
    case Failure::NoSftp:
        return "Der Server bietet kein SFTP an.";
    case Failure::LogInRefused:
        return "Anmeldung abgelehnt: Der Server nimmt Benutzer oder Passwort nicht an.";
    case Failure::TlsFailed:
        return "Die TLS-Verbindung zum Server kam nicht zustande.";
    case Failure::HostKeyChanged:
        return "Host-Schlüssel abgelehnt: Der Server zeigt einen anderen Schlüssel als den gespeicherten.";
    case Failure::HostKeyUnchecked:
        return "Der Host-Schlüssel des Servers konnte nicht geprüft oder gespeichert werden.";
    case Failure::ConnectionLost:
        return "Die Verbindung zum Server ist abgebrochen.";
    case Failure::DataConnection:
        return "Die Datenverbindung zum Server kam nicht zustande.";
    case Failure::CommandRefused:
        return "Der Server hat den Auftrag abgelehnt.";
    case Failure::NotFound:
        return "Die Datei oder das Verzeichnis gibt es auf dem Server nicht.";
    case Failure::AccessDenied:
        return "Der Server verweigert den Zugriff.";
    case Failure::LocalFile:
        return "Die Datei auf diesem Rechner ließ sich nicht schreiben oder lesen.";
    case Failure::LocalNetwork:
        return "Dieser Rechner konnte keine Netzverbindung öffnen.";
    case Failure::Component:
        return "Die SFTP-Komponente fehlt oder ist unvollständig.";
    case Failure::BadAddress:
        return "Die Adresse des Servers ist ungültig.";
    case Failure::Aborted:
        return "Der Vorgang wurde abgebrochen.";
    case Failure::Other:
        break;
    }
    return "Die Anfrage an den Server ist fehlgeschlagen.";
}

Failure FailureOfCode(int code)
{
    switch (code) {
    case UTE_SUCCESS:
        return Failure::None;
    case UTE_CONNECT_FAILED:
        return Failure::ServiceRefused;
    case UTE_SOCK_CONNECT_FAILED:
        return Failure::Refused;
    case UTE_NAME_LOOKUP_FAILED:
    case UTE_INVALID_ADDRESS:
        return Failure::UnknownHost;
    case UTE_CONNECT_TIMEOUT:
    case UTE_NO_RESPONSE:
        return Failure::NoAnswer;
    case UTE_SOCK_TIMEOUT:
        return Failure::Stalled;
    case UTE_CONNECT_TERMINATED:
    case UTE_NOCONNECTION:
    case UTE_SOCK_NOT_OPEN:
    case UTE_SOCK_RECEIVE_ERROR:
    case UTE_SOCK_SEND_ERROR:
        return Failure::ConnectionLost;
    case UTE_USER_NA:
    case UTE_PASS_NA:
    case UTE_ACCT_NA:
        return Failure::LogInRefused;
    case UTE_DATAPORT_FAILED:
    case UTE_ACCEPT_FAILED:
    case UTE_SVR_DATA_CONNECT_FAILED:
    case UTE_PORT_FAILED:
        return Failure::DataConnection;
    case UTE_SVR_REQUEST_DENIED:
    case UTE_SVR_NOT_SUPPORTED:
    case UTE_RETR_FAILED:
    case UTE_LIST_FAILED:
    case UTE_STOR_FAILED:
    case UTE_RNFR_NA:
    case UTE_RNTO_NA:
    case UTE_REST_COMMAND_NOT_SUPPORTED:
        return Failure::CommandRefused;
    case UTE_SOCK_CREATE_FAILED:
    case UTE_SOCK_BIND_FAILED:
    case UTE_SOCK_LISTEN_ERROR:
        return Failure::LocalNetwork;
    case UTE_FILE_TYPE_ERROR:
    case UTE_FILE_OPEN_ERROR:
    case UTE_FILE_READ_ERROR:
    case UTE_FILE_WRITE_ERROR:
    case UTE_FILE_ERROR:
    case UTE_DS_OPEN_FAILED:
    case UTE_DS_WRITE_FAILED:
        return Failure::LocalFile;
    case UTE_BAD_URL:
    case UTE_SERVER_SET_NAME_FAILED:
    case UTE_PARAMETER_TOO_LONG:
    case UTE_BUFFER_TOO_SHORT:
        return Failure::BadAddress;
    case UTE_ABORTED:
        return Failure::Aborted;
    case UTE_CONNECT_FAIL_NO_SSL_SUPPORT:
    case UTE_HANDSHAKE_FAILED:
    case UTE_FAILED_TO_VERIFY_CERTIFICATE_CHAIN:
    case UTE_FAILED_TO_VERIFY_CERTIFICATE_TRUST:
    case UTE_CERTIFICATE_INVALID_DATE:
        return Failure::TlsFailed;
    default:
        return Failure::Other;
    }
}
