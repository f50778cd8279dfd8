// `quorvin-cli lsp`: the language server's session over two file
// descriptors (standard input and output).
//
// Messages are read as they arrive and answered in order; the diagnostics
// of changed documents are sent once no further message is waiting, so
// that typing is answered at once and only the last text of a burst of
// changes is checked. The session ends at the exit notification or at the
// end of the input, with 0 when the client asked for a shutdown first and 1
// otherwise, and with 1 when its output is closed.
#pragma once

class LspServer;

int RunLanguageServer(int input, int output, LspServer &server);
