#pragma once
// M100/M500 calculados dos lançamentos: base das variantes LctoEFD e LctoDacon (créditos da
// atividade imobiliária, F205/F210) e as peças que toda a família dos lançamentos partilha.
#include <string>
#include <vector>

#include "blocom/generators/nFisEFDGeradorBlocoM100M500_U.h"

// Chave do crédito nas variantes dos lançamentos: tipo|alíquota|alíquota por quantidade|origem,
// com as alíquotas no texto estável de 4 casas (a mesma alíquota lida de fontes diferentes
// tem de cair no mesmo registro).
std::string ChaveCreditoLcto(const std::string& ATipoCred, double AAliquota, double AAliquotaQtd, int AOrigem);

// M100/M500 da chave, criado quando falta. AChaveCodigo entra na chave; FCOD_CRED é a sua
// conversão pelo host. A alíquota por quantidade vale com 4 casas; zerada, vale a alíquota.
TM100_500CreditoImposto& ObterCreditoLcto(TM100_500CreditoImpostoList& ALista, const std::string& AChaveCodigo,
                                          double AAliquota, double AAliquotaQtd, int AOrigem);

// Crédito da chave no tipo de apuração, sem criar o M001 do tipo quando ele não existe
// (ajustes e detalhes só se penduram em créditos que o período gerou).
TM100_500CreditoImposto* ProcurarCreditoLcto(TnFisEFDControleBlocoM& AControle, int16_t AImposto, int ATipo,
                                             const std::string& AChave);

// Seletores das parcelas de receita de um CST comum a mais de uma receita, em ordem crescente;
// vazio quando o CST é de uma receita só.
const std::vector<int>& SeletoresReceitaCST(int ACst);
// CSTs comuns, cujos valores se rateiam pela proporção da receita.
inline bool EhCSTComum(int ACst) { return (ACst >= 53 && ACst <= 56) || (ACst >= 63 && ACst <= 66); }

class TnFisEFDGeradorM100_M500Lcto : public TnFisEFDGeradorM100_M500 {
 public:
  using TnFisEFDGeradorM100_M500::TnFisEFDGeradorM100_M500;
  void CarregarDados() override;
  TM100_500CreditoImposto& GetM100_500(TTipoApuracao ATipo, const std::string& ACodigoTabSPED, double AAliquota,
                                       double AAliquotaQtd, int AOrigem);

 protected:
  void CarregarDadosM100_500AtivImob();
};
