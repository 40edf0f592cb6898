// The exit codes of pdf_print. The station treats 0 as "printed" and every other code
// as a failed print that is tried again at the next pass; the codes tell an operator why.
#pragma once

enum PrintExitCode : int {
    kPrinted = 0,          // CUPS printed the job, or still holds it when the wait ended
    kBadArguments = 2,     // unknown option, option without its value, no file
    kFileUnreadable = 3,   // the file is missing, a folder or cannot be read
    kNotPdf = 4,           // the file does not start like a PDF document
    kCupsUnreachable = 5,  // no connection to the CUPS scheduler
    kUnknownQueue = 6,     // no such queue, or no default queue when none was named
    kJobRefused = 7,       // CUPS refused or broke off the job
    kQueueClosed = 8,      // the queue does not take jobs now: stopped or rejecting
    kNotPrinted = 9,       // CUPS did not print the job: aborted, canceled, or the printer took none of it
    kDamagedPdf = 10,      // the document cannot be opened, has no pages or a page that cannot be read
};
