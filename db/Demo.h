#pragma once
// Banco de demonstração.
#include "host/Database.h"
#include "base/DateTime.h"

enum class TPerfilDemo {
  pdNaoCumulativo,  // lucro real, optante da EFD, matriz + filial + SCP
  pdPresumido,      // lucro presumido (cumulativo)
  pdMisto,          // regimes cumulativo e não cumulativo
  // cooperativa só cumulativa (incidência 2, regime de competência consolidado) com controle de
  // diferimento: vendas a órgãos públicos a receber e diferidos de períodos anteriores
  pdCumulativoDiferido = 3,
  // banco (lucro real, só cumulativo, COFINS a 4%): toda receita tem código de receita e as
  // deduções e exclusões próprias da atividade; é a empresa que o bloco I lê
  pdFinanceira = 4,
  // lucro real não cumulativo sem a opção da EFD: o Bloco M sai dos lançamentos pelo regime
  pdLucroRealSemEFD = 5
};
constexpr int kPerfisDemo = 6;

// Grava as linhas de opção (EFD, lucro real/presumido, IPI, contribuição sobre a folha,
// ordem de compensação, tabelas de códigos) de uma empresa de demonstração.
// Definida em db/DemoOpcoes.cpp.
void GerarOpcoesDemo(TDatabase& ABanco, int ACodigoEmpresa, TPerfilDemo APerfil, TDateTime AInicioCompetencia);

#include <cstdint>
#include <functional>
#include <string>

struct TConfigDemo {
  int Empresas = kPerfisDemo;     // perfis em rodízio: um de cada
  int64_t Linhas = 0;             // linhas de lançamento (itens) por empresa; 0 = tamanho da demonstração
  TDateTime InicioCompetencia = 0;  // primeiro dia do mês; 0 = 01/2024
  uint64_t Semente = 20240101;
  std::function<void(const std::string&)> Progresso;  // avisos de andamento (podem ir para stderr)
};

struct TResumoDemo {
  int64_t LinhasLancamento = 0;  // itens de entrada e saída gravados
  int64_t LinhasGravadas = 0;    // todas as linhas, de todas as tabelas
};

// Cria o esquema e grava a demonstração num banco vazio (senão EEntradaInvalida), numa transação.
TResumoDemo GerarBancoDemo(TDatabase& ABanco, const TConfigDemo& AConfig);
