#pragma once

#include "app/Errors.h"

#include <QString>

class QFileDevice;

// Every run-time error the program raises, by number. The classic run-time numbers keep
// the wording users of that platform know; the program's own errors follow from 31001.
// Their texts come from the run-time text table of the program's language (errors/fr.txt,
// errors/en.txt), so no error description is written into the code.
enum class RtError : int {
    InvalidCall = 5,          // "Argument ou appel de procédure incorrect"
    Overflow = 6,             // "Dépassement de capacité"
    OutOfMemory = 7,          // "Mémoire insuffisante"
    Subscript = 9,            // "L'indice n'appartient pas à la sélection"
    DivisionByZero = 11,      // "Division par zéro"
    TypeMismatch = 13,        // "Incompatibilité de type"
    BadFileName = 52,         // "Nom ou numéro de fichier incorrect"
    FileNotFound = 53,        // "Fichier introuvable"
    FileAlreadyOpen = 55,     // "Fichier déjà ouvert"
    DeviceIo = 57,            // "Erreur d'entrée/sortie sur périphérique"
    FileExists = 58,          // "Ce fichier existe déjà"
    DiskFull = 61,            // "Disque plein"
    PermissionDenied = 70,    // "Permission refusée"
    PathFileAccess = 75,      // "Erreur d'accès au chemin/fichier"
    PathNotFound = 76,        // "Chemin d'accès introuvable"
    ResourceNotFound = 326,   // %1 = the string number
    InvalidPicture = 481,     // "Image incorrecte"
    PrinterError = 482,       // "Erreur d'imprimante"
    UnknownError = 31001,     // an error without a description of its own
    InvalidDate = 31002,      // %1-%2-%3 = year, month, day
    PortCannotOpen = 31010,   // %1 = device, %2 = the system's reason
    PortNoAccess = 31011,     // appended to PortCannotOpen; %1 = device
    PortBusy = 31012,         // appended to PortCannotOpen
    NoSuchPort = 31013,       // %1 = port number
    PortBaudFailed = 31014,   // %1 = device, %2 = baud rate, %3 = the system's reason
    PortGone = 31015,         // %1 = device
    PortNotOpen = 31016,      //
    InvalidBaudRate = 31017,  // %1 = the rate as given
    InvalidDirName = 31020,   // %1 = the name
    DirExists = 31021,        // %1 = the directory
    DirCannotCreate = 31022,  // %1 = the directory, %2 = the system's reason
    TooFewPrintLines = 31030, //
    PrinterNoDocument = 31031,
    PrinterNoPage = 31032,
    TooManyRecords = 31033,      // %1 = how many records a spreadsheet file holds
    TooManySheetRecords = 31034, // %1 = how many records a workbook sheet holds
    DatasetUnfinished = 31035,   // the records end before the end marker
    ReadOnlyFileSystem = 31120,  // the system's reasons for a failed file operation that
    QuotaExceeded = 31121,       // have no classic number
    FileTooLarge = 31122,        //
    NameTooLong = 31123,         //
    IsFolder = 31124,            //
    SystemError = 31125,         // %1 = the system's error number, %2 = its own text
    OpenStopped = 31126,         // %1 = the file: the user stopped reading it
    BackupFailed = 31130,        // %1 = the temporary folder, %2 = the system's reason
    OldContentKept = 31131,      // %1 = the copy of a file's old content
    DefaultDisclaimer = 31040,   // the About box's disclaimer when Settings.ini names none
    ArchiveCannotOpen = 31150,   // %1 = the archive, %2 = the driver's reason
    ArchiveNewer = 31151,        // %1 = the archive, %2 = its schema, %3 = the program's
    ArchiveDamaged = 31152,      // %1 = the archive file
    ArchiveReadOnly = 31153,     // %1 = the archive file
    ArchiveDiskFull = 31154,     // %1 = the archive file
    ArchiveBusy = 31155,         // %1 = the archive file
    ArchiveServer = 31156,       // %1 = the server's address, %2 = the server's reason
    ArchiveBadAddress = 31157,   // %1 = the Database= text
    ArchiveFailed = 31158,       // %1 = the archive, %2 = the driver's reason
    ArchiveNoMeter = 31159,      // %1 = the dataset's serial number
    ArchiveTimeZone = 31160,     // %1 = the TimeZone= text
    ArchiveNoFolder = 31161,     // %1 = the archive file whose folder does not exist
    ArchiveForeign = 31162,      // %1 = the file: a database without the archive's tables
    ArchiveNoAnswer = 31167,     // %1 = the archive, %2 = seconds waited
    ArchiveUnreachable = 31168,  // %1 = the server's address, %2 = the server's reason
    ArchiveRefused = 31169,      // %1 = the server's address, %2 = the server's reason
    ArchiveLost = 31170,         // %1 = the server's address, %2 = the server's reason
    ArchivePassword = 31171,     // %1 = the address without its password
    ArchiveScheme = 31172,       // %1 = the address: neither a file nor a server's
    ServerBackup = 31173,        // %1 = the server's address, %2 = the database's name
    ArchiveCopyFailed = 31174,   // %1 = the backup's file, %2 = why
    ArchiveStopped = 31164,      // %1 = the archive
    ArchiveLockWait = 31175,     // %1 = the server's address, %2 = seconds, %3 = its reason
    ArchiveTooLong = 31176,      // %1 = the server's address, %2 = seconds, %3 = its reason
    ArchiveNulByte = 31177,      // %1 = the record's position among the dataset's records
};

// Every number above, for the tables' completeness check.
inline constexpr RtError kAllRunTimeErrors[] = {
    RtError::InvalidCall,        RtError::Overflow,           RtError::OutOfMemory,
    RtError::Subscript,          RtError::DivisionByZero,     RtError::TypeMismatch,
    RtError::BadFileName,        RtError::FileNotFound,       RtError::FileAlreadyOpen,
    RtError::DeviceIo,           RtError::FileExists,         RtError::DiskFull,
    RtError::PermissionDenied,   RtError::PathFileAccess,     RtError::PathNotFound,
    RtError::ResourceNotFound,   RtError::InvalidPicture,     RtError::PrinterError,
    RtError::UnknownError,       RtError::InvalidDate,        RtError::PortCannotOpen,
    RtError::PortNoAccess,       RtError::PortBusy,           RtError::NoSuchPort,
    RtError::PortBaudFailed,     RtError::PortGone,           RtError::PortNotOpen,
    RtError::InvalidBaudRate,    RtError::InvalidDirName,     RtError::DirExists,
    RtError::DirCannotCreate,    RtError::TooFewPrintLines,   RtError::PrinterNoDocument,
    RtError::PrinterNoPage,      RtError::TooManyRecords,     RtError::TooManySheetRecords,
    RtError::DatasetUnfinished,  RtError::DefaultDisclaimer,  RtError::ArchiveCannotOpen,
    RtError::ArchiveNewer,       RtError::ArchiveDamaged,     RtError::ArchiveReadOnly,
    RtError::ArchiveDiskFull,    RtError::ArchiveBusy,        RtError::ArchiveServer,
    RtError::ArchiveBadAddress,  RtError::ReadOnlyFileSystem, RtError::QuotaExceeded,
    RtError::FileTooLarge,       RtError::NameTooLong,        RtError::IsFolder,
    RtError::SystemError,        RtError::OpenStopped,        RtError::BackupFailed,
    RtError::OldContentKept,     RtError::ArchiveFailed,      RtError::ArchiveNoMeter,
    RtError::ArchivePassword,    RtError::ArchiveScheme,      RtError::ServerBackup,
    RtError::ArchiveCopyFailed,  RtError::ArchiveTimeZone,    RtError::ArchiveNoFolder,
    RtError::ArchiveForeign,     RtError::ArchiveStopped,     RtError::ArchiveNoAnswer,
    RtError::ArchiveUnreachable, RtError::ArchiveRefused,     RtError::ArchiveLost,
    RtError::ArchiveLockWait,    RtError::ArchiveTooLong,     RtError::ArchiveNulByte};

// The text of `error` in the program's language (placeholders left for the caller).
QString RunTimeText(RtError error);
// A run-time error whose description is that text.
MervexError RunTimeError(RtError error);
// The text followed by ": " and a detail such as the offending value.
MervexError RunTimeError(RtError error, const QString& detail);

// The run-time error of a failed open, read or write of `file` at `path`: file or path not
// found, permission denied, disk full, device I/O or a path/file access error.
RtError FileErrorNumber(const QString& path, const QFileDevice& file, bool writing);
// "PATH: TEXT (the system's reason)".
MervexError FileError(const QString& path, const QFileDevice& file, bool writing);
// The run-time error of the system's error number `error` (errno) for a file operation.
RtError SystemErrorNumber(int error);

// A failed file operation; the description names the file and the reason.
class FileFailure : public MervexError {
public:
    FileFailure(const QString& description, RtError reason)
        : MervexError(description), m_reason(reason) {}
    RtError Reason() const { return m_reason; }

private:
    RtError m_reason;
};
// The reason of `error` (errno) in the program's language.
QString SystemErrorText(int error);
// "PATH: TEXT", TEXT the reason of `error` (errno) in the program's language.
FileFailure SystemFileError(const QString& path, int error);
