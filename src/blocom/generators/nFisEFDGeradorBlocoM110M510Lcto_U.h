#pragma once
// M110/M510 calculados dos lançamentos: os ajustes de crédito lançados pelo usuário e as
// devoluções de vendas (reduções do crédito da entrada devolvida), partidos por parcela de
// receita, rateados pela proporção e pendurados no crédito da mesma chave do M105/M505.
#include <map>
#include <string>
#include <vector>

#include "blocom/generators/nFisEFDGeradorBlocoM100M500_U.h"

struct TRecM110_510 {
  std::string IND_AJ;
  double VL_AJ = 0;
  std::string COD_AJ, NUM_DOC, DESCR_AJ, DT_REF;
  int CST = 0;
  int Seq = 0, SeqM100_M500 = 0;
  std::string TipoCredM100_M500;
  double AliquotaM100_M500 = 0;
  double AliquotaM100_M500Qtd = 0;
  bool AjusteSCP = false;
  int TipoApuracao = 0;
  std::string COD_CTA;
};

// Descrição do ajuste: os 100 primeiros caracteres (não bytes: não parte um "ç" ao meio).
std::string DescricaoAjusteLcto(std::string ATexto);

// Chave do ajuste dentro do crédito (compartilhada com os detalhes M115/M515).
std::string ChaveAjusteLcto(const std::string& AIndAj, const std::string& ACodAj, const std::string& ANumDoc,
                            const std::string& ADtRef, const std::string& ADescrAj);

class TnFisEFDGeradorM110_M510Lcto : public TnFisEFDGeradorM110_M510 {
 public:
  using TnFisEFDGeradorM110_M510::TnFisEFDGeradorM110_M510;
  void CarregarDados() override;

  virtual int GetCSTAjusteCredito() = 0;
  virtual std::string GetSqlLctoAjuste() = 0;

  void CarregarLctoAjuste();
  void CarregarDevolucao();
  void ProcessarM110_510(const TRecM110_510& ARec);
  std::vector<TRecM110_510> SepararPorCST(const TRecM110_510& ARec);
  void AplicarProporcoes(std::vector<TRecM110_510>& ALista);
  void GerarM110_510(const TRecM110_510& ARec);

  // Consultas das devoluções: linhas de saída devolvidas e entradas que os documentos citam.
  std::string GetSqlDevSaida() const;
  std::string GetSqlEntrada() const;

  // Linha de entrada citada por uma devolução, na ordem da sequência.
  struct TEntradaRef {
    int Seq = 0;
    std::string TipoCredito;
    int CST = 0;
    std::string CFOP;  // primeiro dígito
    double Aliquota = 0;
  };
};
