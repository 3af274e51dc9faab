#pragma once
// Leiaute oficial dos registros do Bloco M da EFD-Contribuições: campos depois de REG, na
// ordem, com tipo e formato ("15v2": 15 dígitos, 2 decimais). Mesmo conteúdo de
// layout-blocom.json (um teste compara os dois).
#include <string>
#include <vector>

struct TCampoLayout {
  TCampoLayout(std::string ACampo, std::string ATipo, std::string AFormato);
  std::string Campo;
  std::string Tipo;     // "string" ou "numeric"
  std::string Formato;  // "NvD" ou vazio
  int Casas;            // D do formato; -1 sem formato
};

struct TRegistroLayout {
  std::string Registro;
  std::vector<TCampoLayout> Campos;
};

// Todos os registros, de M001 a M990.
const std::vector<TRegistroLayout>& LayoutBlocoM();
// Leiaute de um registro ("M100"); lança EPisco para registro desconhecido.
const TRegistroLayout& LayoutRegistro(const std::string& ARegistro);
