#pragma once
// Cada subcomando do pisco registra suas opções e sua ação no app CLI11.
#include <CLI/CLI.hpp>

// Códigos de saída: 0 sucesso, 1 erro de execução, 2 erro de uso.
constexpr int kSaidaErroExecucao = 1;
constexpr int kSaidaErroUso = 2;

void RegistrarComandoSchema(CLI::App& app);
void RegistrarComandoBlocoM(CLI::App& app);
void RegistrarComandoDemoDb(CLI::App& app);
void RegistrarComandoSql(CLI::App& app);
void RegistrarComandoConferir(CLI::App& app);

// --rastro-sql: roda AAcao e grava o rastro inteiro no fim. Também quando a execução falha:
// é quando ele mais ajuda (as consultas até a falha, inclusive a que falhou); a falha da
// execução prevalece sobre uma falha ao gravar o rastro.
#include <string>

#include "host/RastroSQL.h"

template <class F>
void ComRastro(const std::string& AArquivo, const TRastroSQL& ARastro, F&& AAcao) {
  try {
    AAcao();
  } catch (...) {
    if (!AArquivo.empty()) {
      try {
        ARastro.Gravar(AArquivo);
      } catch (const std::exception&) {
      }
    }
    throw;
  }
  if (!AArquivo.empty()) ARastro.Gravar(AArquivo);
}
