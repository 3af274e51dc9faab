// Provisório: as tabelas de opções entram aqui.
#include "db/Schema.h"

std::vector<TTabelaSchema> TabelasOpcoes() { return {}; }
