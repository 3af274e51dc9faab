#pragma once
// Uma execução completa do Bloco M no host corrente: calcula, formata e entrega o texto.
// O arquivo de saída só aparece inteiro (nome temporário e renomeação), nunca depois de uma falha.
#include <ostream>
#include <string>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"

struct TSaidaBlocoM {
  std::string Formato = "sped";  // "sped" (leiaute oficial) ou "json"
  std::string Arquivo;           // vazio: escreve em AOut
  bool Lancamentos = false;      // caminho dos lançamentos fiscais em vez dos totais apurados
  bool CaminhoSQL = false;       // repositório monolítico por SQL, sem a árvore de geradores
};

// Lança EEntradaInvalida quando a empresa não tem, no período, opção de regime nenhuma (EFD,
// lucro real ou presumido): sem ela não há base para apurar, e um bloco só com créditos enganaria.
void ConferirRegimeDaEmpresa(const TConfigBlocoM& AConfig);

void ExecutarBlocoM(const TConfigBlocoM& AConfig, const TSaidaBlocoM& ASaida, std::ostream& AOut);

// Grava AConteudo em AArquivo por um nome temporário renomeado no fim; lança EPisco na falha.
void GravarArquivoSaida(const std::string& AArquivo, const std::string& AConteudo);
