#pragma once
// O que a execução do Bloco M toma do cadastro da empresa quando o usuário não informa:
// natureza da pessoa jurídica e regime de reconhecimento das receitas.
#include <string>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "host/Database.h"

// Natureza da pessoa jurídica (0 sociedade empresária, 1 cooperativa, ...) em texto decimal;
// vazio quando não informada.
std::string NaturezaDaEmpresa(TDatabase& ABanco, int AEmpresa);

// Regime de caixa: a opção do lucro presumido em vigor no início do período apura pelo
// recebimento (TIPOAPURACAO 3). Sem essa opção, competência.
bool RegimeCaixaDaEmpresa(TDatabase& ABanco, int AEmpresa, TDateTime AData);

// Completa a configuração com o cadastro; ANatureza e ARegime ("caixa"/"competencia") vazios
// deixam valer o cadastro.
void CompletarComCadastro(TDatabase& ABanco, TConfigBlocoM& AConfig, const std::string& ANatureza,
                          const std::string& ARegime);
