// Provisório: as linhas de opção da demonstração entram aqui.
#include "db/Demo.h"

void GerarOpcoesDemo(TDatabase&, int, TPerfilDemo, TDateTime) {}
