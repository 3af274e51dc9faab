// Ativo imobilizado: bens e créditos sobre depreciação e aquisição.
#include "db/demo/DemoEmpresa.h"

namespace demo {

namespace {
// Natureza da base do crédito pelo tipo de crédito DACON do bem, como os totais por CST a
// atribuem: 6 dá 4.3.07.09, 7 dá 4.3.07.11, os demais 4.3.07.10.
std::string Natureza(int tipoDacon) {
  return tipoDacon == 6 ? "4.3.07.09" : tipoDacon == 7 ? "4.3.07.11" : "4.3.07.10";
}
}  // namespace

void TGeradorEmpresa::Patrimonio() {
  if (!EhEFD() || Cumulativa()) return;
  auto& bem = c("PATBEM",
                "CODIGOEMPRESA NUMEROBEM CODIGOESTAB DESCRICAOBEM ORIGEMBEM DATAAQUISICAO VALORAQUISICAO INDUTILBEM");
  auto& cfg = c("PATCFGDACON",
                "CODIGOEMPRESA NUMEROBEM DATAINICIAL DATAFINAL TIPODACONCREDITO TIPOCREDITO TIPOAPURACAO CSTPIS CSTCOFINS "
                "ALIQPIS ALIQCOFINS NUMEROPARCELAS");
  auto& cred = c("PATCREDITODACON",
                 "CODIGOEMPRESA CODIGOESTAB NUMEROBEM PERIODO CSTPIS CSTCOFINS ALIQPIS ALIQCOFINS QUOTAMENSAL "
                 "VLRBCCREDITO CREDITOPIS CREDITOCOFINS");
  auto& cta = c("PATBEMCONTACONTABIL",
                "CODIGOEMPRESA CODIGOESTAB NUMEROBEM DATAINICIAL CODIGOCENTROCUSTO CONTACTB");
  static const char* descricoes[] = {"MÁQUINA INJETORA", "EMPILHADEIRA", "GALPÃO INDUSTRIAL", "TORNO CNC",
                                     "SERVIDOR DE DADOS", "VEÍCULO DE CARGA"};
  for (int b = 1; b <= 6; ++b) {
    const int estab = b <= 4 ? 1 : FEstabs.back().Codigo == 3 ? 2 : FEstabs.back().Codigo;
    const int64_t valor = s.Entre(5000000, 80000000);
    // 1 depreciação (F120), 6 depreciação de edificação, 7 acréscimo; 9 e 10 aquisição (F130)
    static const int tipos[] = {1, 1, 6, 7, 9, 10};
    const int tipo = tipos[b - 1];
    const int origem = b == 4 ? 1 : 0;
    const int cst = FPerfil == TPerfilDemo::pdMisto && b % 2 ? 56 : 50;
    const int parcelas = tipo >= 9 ? 48 : 120;
    bem.Linha({I(FEmpresa), I(b), I(estab), T(descricoes[b - 1]), I(origem), D(IncMonth(FInicio, -b * 3)), V(valor), I(1)});
    cfg.Linha({I(FEmpresa), I(b), D(IncMonth(FInicio, -b * 3)), N(), I(tipo),
               T(Natureza(tipo)), I(0), I(cst), I(cst), A(16500),
               A(76000), I(parcelas)});
    const int64_t quota = valor / parcelas;
    cred.Linha({I(FEmpresa), I(estab), I(b), D(FInicio), I(cst), I(cst), A(16500), A(76000), V(quota), V(quota),
                V(Tributo(quota, 16500)), V(Tributo(quota, 76000))});
    cta.Linha({I(FEmpresa), I(estab), I(b), D(IncMonth(FInicio, -b * 3)), T("CC" + std::to_string(b % 3 + 1)),
               T("1.2.3.01.00" + std::to_string(b))});
    const std::string natureza = Natureza(tipo);
    SomarCredito(estab, natureza, cst, 16500, 76000, false, origem ? 3000 : 0, quota, Tributo(quota, 16500),
                 Tributo(quota, 76000));
  }
  // Bem de uso sem direito a crédito (CST 98): o crédito do mês existe no patrimônio, mas
  // fica fora dos totais por CST e dos créditos. Valores fixos: não mexe no sorteio.
  bem.Linha({I(FEmpresa), I(7), I(1), T("MÓVEIS DO ESCRITÓRIO"), I(0), D(IncMonth(FInicio, -12)), V(1200000), I(2)});
  cfg.Linha({I(FEmpresa), I(7), D(IncMonth(FInicio, -12)), N(), I(1), T("4.3.07.10"), I(0), I(98), I(98), A(0), A(0),
             I(120)});
  cred.Linha({I(FEmpresa), I(1), I(7), D(FInicio), I(98), I(98), A(0), A(0), V(10000), V(0), V(0), V(0)});
}

}  // namespace demo
