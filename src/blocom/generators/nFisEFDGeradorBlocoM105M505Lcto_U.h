#pragma once
// M105/M505 calculados dos lançamentos: cada fonte de crédito dos totais por CST vira um
// detalhe da base, com o M100/M500 a que pertence criado na hora; CSTs comuns se partem nas
// parcelas de receita e levam a proporção do período.
#include <memory>
#include <string>
#include <vector>

#include "blocom/generators/nFisEFDGeradorBlocoM100M500_U.h"

#include "blocom/generators/nFisEFDGeradorTotalCST_U.h"

struct TRecM105_505 {
  std::string NAT_BC_CRED;   // natureza convertida pelo host
  std::string NAT_BC_CRED2;  // código da tabela SPED como lido
  int CST = 0;
  double VL_BC_TOT = 0, VL_BC_CUM = 0, VL_BC = 0, QUANT_BC_TOT = 0, QUANT_BC = 0;
  std::string DESC_CRED;
  int Seq = 0, SeqM100_M500 = 0;
  std::string TipoCredM100_M500;
  double AliquotaM100_M500 = 0;
  int TipoApuracao = 0;
};

class TnFisEFDGeradorM105_M505Lcto : public TnFisEFDGeradorM105_M505 {
 public:
  using TnFisEFDGeradorM105_M505::TnFisEFDGeradorM105_M505;
  void CarregarDados() override;

  void ProcessarM105_505(const TRecM105_505& ARec);
  std::vector<TRecM105_505> SepararPorCST(const TRecM105_505& ARec);
  void AplicarProporcoes(std::vector<TRecM105_505>& ALista);
  void GerarM105_505(const TRecM105_505& ARec);
  TM100_500CreditoImposto& GetM100_500(TTipoApuracao ATipo, const std::string& ACodigo, double AAliquota,
                                       double AAliquotaQtd, int AOrigem);
  static std::string GetTipoCreditoMestreBem(int ACst, int AOrigemBem);

 protected:
  void GerarTotaisEFD();
  void CarregarDadosLcto();
  void CarregarDadosBem();
  void CarregarDadosEstoqAbertura();
  void CarregarDadosDemaisDoc();

  std::unique_ptr<TnFisEFDGeradorTotalCST> FGerarTotalEFD;
};

// Todo detalhe e todo crédito caem no tipo de apuração 0.
class TnFisEFDGeradorM105_M505LctoDacon : public TnFisEFDGeradorM105_M505Lcto {
 public:
  using TnFisEFDGeradorM105_M505Lcto::TnFisEFDGeradorM105_M505Lcto;
  int GetTipoApuracao(int) override { return 0; }
};
