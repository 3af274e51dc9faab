#pragma once
// Rastro das consultas de uma execução (--rastro-sql): texto, valores dos parâmetros, linhas
// lidas e tempo gasto no banco, uma linha JSON por consulta, na ordem em que foram emitidas.
// Pertence a quem liga o rastro (o comando) e deve viver mais que os datasets do banco.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Variant.h"

class TRastroSQL {
 public:
  struct TEntrada {
    std::string SQL;
    TParams Valores;
    int64_t Linhas = 0;  // lidas (consultas) ou afetadas (comandos)
    double Ms = 0;       // só o tempo dentro do banco: execução e busca das linhas
  };

  size_t Iniciar(const std::string& ASQL, const TParams& AValores);
  TEntrada& Entrada(size_t AIndice) { return FEntradas.at(AIndice); }
  const std::vector<TEntrada>& Entradas() const { return FEntradas; }

  // Relógio monotônico em nanossegundos: o mesmo para a consulta e para as linhas do dataset.
  static int64_t AgoraNs();

  // Uma linha JSON por consulta: {"sql":...,"parametros":{NOME:valor,...},"linhas":n,"ms":x}.
  std::string ComoLinhasJson() const;
  // Grava o rastro inteiro por nome temporário e renomeação; lança EPisco na falha.
  void Gravar(const std::string& AArquivo) const;

 private:
  std::vector<TEntrada> FEntradas;
};
