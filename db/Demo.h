#pragma once
// Banco de demonstração.
#include "host/Database.h"
#include "host/DateTime.h"

enum class TPerfilDemo {
  pdNaoCumulativo,  // lucro real, optante da EFD, matriz + filial + SCP
  pdPresumido,      // lucro presumido (cumulativo)
  pdMisto           // regimes cumulativo e não cumulativo
};

// Grava as linhas de opção (EFD, lucro real/presumido, IPI, contribuição sobre a folha,
// ordem de compensação, tabelas de códigos) de uma empresa de demonstração.
// Definida em db/DemoOpcoes.cpp.
void GerarOpcoesDemo(TDatabase& ABanco, int ACodigoEmpresa, TPerfilDemo APerfil, TDateTime AInicioCompetencia);
