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
